#include "maintenance/CardChooser.h"
#include "ui/main/FolderDialog.h"

CardChooser folderDialogChooser() {
    return chooseFolder;
}
