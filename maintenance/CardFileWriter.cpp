#include "maintenance/CardFileWriter.h"

#include "platform/File.h"

bool CardFileWriter::write(File& file, const void* data, std::size_t count) const {
    return file.write(data, count);
}

const CardFileWriter& CardFileWriter::direct() {
    static const CardFileWriter card;
    return card;
}
