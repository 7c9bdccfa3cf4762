#pragma once
// The help page and its pictures: HTML resources, named by number. The page
// refers to each picture by its number as a relative address, which works both
// inside the executable ("res://") and in the copy written to a folder.

#define IDH_HELP_PAGE 22100
#define IDH_HELP_FIRST_PICTURE 22101
#define IDH_HELP_LAST_PICTURE 22118
