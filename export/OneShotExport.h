#pragma once
// Writes one-shot pictures as the JPEG files the recorder stored (the 16
// leading bytes put back), each named by its local date and time.
#include <set>
#include <string>
#include <vector>

#include "export/ExportManifest.h"
#include "export/ExportPlan.h"
#include "export/ExportResult.h"

class ExportProgress;
class OutputFiles;

class OneShotExport {
public:
    OneShotExport(const ExportPlan& plan, OutputFiles& output, ExportProgress* progress)
        : plan_(plan), output_(output), progress_(progress) {}

    // A picture that cannot be read or restored is left out and counted; with
    // none left, or a single one asked for that fails, ExportException.
    void run(ExportResult& result, std::vector<ManifestSource>& sources);

private:
    bool exportPicture(const std::wstring& path, std::vector<ManifestSource>& sources, std::wstring& failure);
    std::wstring uniqueName(const std::wstring& stem);

    const ExportPlan& plan_;
    OutputFiles& output_;
    ExportProgress* progress_;
    std::set<std::wstring> names_;
};
