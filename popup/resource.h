// Resource ids of the popup.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDI_LUMETTA 107
#define IDI_SMALL 108
#define IDC_LUMETTA 109
#define IDM_ABOUT_COMMAND 104
#define IDB_BRIGHTNESS_UP 151
#define IDB_BRIGHTNESS_DOWN 161
#define IDC_ABOUT_ICON 2
