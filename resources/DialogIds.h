#pragma once
// Dialog templates of the maintenance dialogs and their control ids, shared by
// the resource script and the code. Ids inside a page template are the page's
// own and may repeat those of other templates.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Recorder settings, with its two kinds of embedded page.
#define IDD_RECORDER_SETTINGS 424
#define IDC_SHOCK_STANDARD 1030
#define IDC_SHOCK_HIGH 1031
#define IDC_ECO_STANDARD 1032
#define IDC_ECO_HIGH 1033
#define IDC_OVERWRITE_COMBO 1039
#define IDC_OPERATION_VOLUME_COMBO 1040
#define IDC_EVENT_VOLUME_COMBO 1041
#define IDC_GUIDANCE_VOLUME_COMBO 1042
#define IDC_SENSITIVITY_TAB 1049
#define IDC_SHOCK_PAGE_PLACE 1052
#define IDC_ECO_PAGE_PLACE 1054

#define IDD_SENSITIVITY_SIMPLE 405
#define IDC_SIMPLE_SLIDER 1010
#define IDC_LEVEL_LABEL 1040

#define IDD_SENSITIVITY_DETAIL 407
#define IDC_DETAIL_SLIDER 1045
#define IDC_DETAIL_EDIT 1
#define IDC_DETAIL_SPIN 1025

// Date and time at which the recorder sets its clock.
#define IDD_DATE_TIME 126
#define IDC_DATE_NOTE 1007
#define IDC_DATE_PICKER 1004
#define IDC_HOUR_SPIN 1025
#define IDC_HOUR_EDIT 1026
#define IDC_MINUTE_SPIN 1027
#define IDC_MINUTE_EDIT 1028

// Version information.
#define IDD_ABOUT 132
#define IDC_ABOUT_LOGO_PLACE 1034
#define IDC_ABOUT_VERSION 1035
#define IDC_ABOUT_RIGHTS 1037
#define IDC_ABOUT_LINK 1038
#define IDC_ABOUT_TITLE 1053
