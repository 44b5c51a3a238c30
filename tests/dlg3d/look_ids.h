#pragma once
// The test dialog of the 3D look and its controls.
#define IDD_LOOK            100
#define IDC_DEFAULT         110
#define IDC_PUSH            111
#define IDC_PUSH_DISABLED   112
#define IDC_CHECK           113
#define IDC_CHECK_DISABLED  114
#define IDC_RADIO           115
#define IDC_THREE_STATE     116
#define IDC_LEFT_TEXT       117
#define IDC_GROUP           118
#define IDC_EDIT            119
#define IDC_LIST            120
#define IDC_LIST_SCROLL     121
#define IDC_COMBO_SIMPLE    122
#define IDC_COMBO_DROPDOWN  123
#define IDC_COMBO_LIST      124
#define IDC_BLACK_FRAME     125
#define IDC_GRAY_FRAME      126
#define IDC_WHITE_FRAME     127
#define IDC_TEXT            128
#define IDC_EDIT_DISABLED   129
