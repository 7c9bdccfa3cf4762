#pragma once
// Dialog templates of the dialog tests, outside the viewer's resource ids.
#define IDD_TEST_PLAIN 31001
#define IDD_TEST_PAGE 31002
#define IDC_TEST_EDIT 31010
#define IDD_TEST_MISSING 31099
