#pragma once
// Numeric ids of the menu commands and of the dialog controls, shared by
// quorvin.rc and the C++ code. Plain #defines only, so that the resource
// compiler can read this file too.
//
// The resources themselves carry string names, not numbers, and are loaded
// by name: L"ID_MENU", L"IDI_ICON", L"ID_DLG_NEWFILE", L"ID_DLG_SETTING",
// L"ID_DLG_SETSTYLE", L"ID_EDIT_MENU". None of these names may ever be
// #defined, or the resource compiler would turn the resource into a numbered
// one and loading by name would fail.

// Menu ID_MENU: commands (low word of WM_COMMAND's wParam). The two
// separators carry ids of their own as well.
#define IDM_FILE_NEW 40001
#define IDM_FILE_EXIT 40002
#define IDM_FILE_SEPARATOR1 40004
#define IDM_FILE_CODE_OUTPUT 40005
#define IDM_FILE_SEPARATOR2 40006
#define IDM_FILE_OPEN 40008
#define IDM_FILE_SAVE 40009
#define IDM_OPTION_SETTINGS 40010
#define IDM_OPTION_UNICODE_OUTPUT 40011
#define IDM_EDIT_UNDO 40021
#define IDM_EDIT_REDO 40022
#define IDM_FILE_SAVE_OVER 40023
// The Layout menu, in its order (IDM_LAYOUT_FIRST + ArrangeCommand).
#define IDM_LAYOUT_ALIGN_LEFTS 40101
#define IDM_LAYOUT_ALIGN_RIGHTS 40102
#define IDM_LAYOUT_ALIGN_TOPS 40103
#define IDM_LAYOUT_ALIGN_BOTTOMS 40104
#define IDM_LAYOUT_ALIGN_CENTRES_ACROSS 40105
#define IDM_LAYOUT_ALIGN_CENTRES_DOWN 40106
#define IDM_LAYOUT_SAME_WIDTH 40107
#define IDM_LAYOUT_SAME_HEIGHT 40108
#define IDM_LAYOUT_SAME_SIZE 40109
#define IDM_LAYOUT_SPACE_ACROSS 40110
#define IDM_LAYOUT_SPACE_DOWN 40111
#define IDM_LAYOUT_CENTRE_ACROSS 40112
#define IDM_LAYOUT_CENTRE_DOWN 40113
#define IDM_LAYOUT_FIRST IDM_LAYOUT_ALIGN_LEFTS
#define IDM_LAYOUT_LAST IDM_LAYOUT_CENTRE_DOWN
#define IDM_LAYOUT_SEPARATOR1 40114
#define IDM_LAYOUT_SEPARATOR2 40115
#define IDM_LAYOUT_SEPARATOR3 40116
#define IDM_EDIT_SELECT_ALL 40117
#define IDM_EDIT_CUT 40118
#define IDM_EDIT_COPY 40119
#define IDM_EDIT_PASTE 40120
#define IDM_EDIT_DUPLICATE 40121
#define IDM_EDIT_SEPARATOR1 40122
#define IDM_EDIT_SEPARATOR2 40123
// The grid (menu オプション) and the order of the controls (menu 順序).
#define IDM_OPTION_GRID_SHOW 40131
#define IDM_OPTION_GRID_SNAP 40132
#define IDM_OPTION_GRID_STEP_4 40133
#define IDM_OPTION_GRID_STEP_8 40134
#define IDM_OPTION_GRID_STEP_16 40135
#define IDM_ORDER_FRONT 40141
#define IDM_ORDER_BACK 40142
#define IDM_ORDER_BY_POSITION 40143
#define IDM_ORDER_TAB_MODE 40144

// Dialog ID_DLG_NEWFILE: title and class name of a new design.
#define IDC_NEWFILE_CLASS_LABEL 1032
#define IDC_NEWFILE_CLASS 1033
#define IDC_NEWFILE_TITLE_LABEL 1034
#define IDC_NEWFILE_TITLE 1035
#define IDC_NEWFILE_OK 1036
#define IDC_NEWFILE_CANCEL 1037

// Dialog ID_DLG_SETTING: the five variable names of generated code.
#define IDC_SETTING_HWND_LABEL 1016
#define IDC_SETTING_HWND 1017
#define IDC_SETTING_HINSTANCE_LABEL 1018
#define IDC_SETTING_HINSTANCE 1019
#define IDC_SETTING_HFONT_LABEL 1020
#define IDC_SETTING_HFONT 1021
#define IDC_SETTING_HRGN_LABEL 1022
#define IDC_SETTING_HRGN 1023
#define IDC_SETTING_OK 1028
#define IDC_SETTING_CANCEL 1029
#define IDC_SETTING_POINT 1030
#define IDC_SETTING_POINT_LABEL 1031

// Dialog ID_DLG_SETSTYLE: the four controls of the template ...
#define IDC_SETSTYLE_SAMPLE_FRAME 1038
#define IDC_SETSTYLE_DESCRIPTION 1039
#define IDC_SETSTYLE_OK 1040
#define IDC_SETSTYLE_CANCEL 1041
// ... and the controls the dialog makes itself when it opens: the sample
// (a child of the "Sample" group box), the six window-style check boxes
// (2201 + row of the window-style table) and the per-kind check boxes
// (2207 + row of the kind's table).
#define IDC_SETSTYLE_SAMPLE 2101
#define IDC_SETSTYLE_FIRST_WINDOW_STYLE 2201
#define IDC_SETSTYLE_FIRST_CLASS_STYLE 2207

// Dialog ID_EDIT_MENU: the five edit-box variants, each with a sample.
#define IDC_EDITMENU_MULTILINE 1004
#define IDC_EDITMENU_NORMAL 1005
#define IDC_EDITMENU_VSCROLL 1006
#define IDC_EDITMENU_HSCROLL 1007
#define IDC_EDITMENU_VHSCROLL 1008
#define IDC_EDITMENU_NORMAL_SAMPLE 1009
#define IDC_EDITMENU_MULTILINE_SAMPLE 1010
#define IDC_EDITMENU_VSCROLL_SAMPLE 1011
#define IDC_EDITMENU_HSCROLL_SAMPLE 1012
#define IDC_EDITMENU_VHSCROLL_SAMPLE 1013
#define IDC_EDITMENU_OK 1014
#define IDC_EDITMENU_CANCEL 1015
