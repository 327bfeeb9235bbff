#pragma once
// Resource identifiers of the program.
#define IDR_MAINFRAME 172
#define IDB_ARROW_IN 178
#define IDB_ARROW_OUT 180
#define IDD_ABOUTBOX 182
#define IDC_HAND_CURSOR 183
#define IDB_TOOL_DRAW_LINE 184
#define IDB_TOOL_DELETE_LINE 185
#define IDB_TOOL_ALL 186
#define IDB_TOOL_ELLIPSE 187
#define IDB_TOOL_RECTANGLE 188
#define IDB_TOOL_IRREGULAR 189
#define IDB_TOOL_COLOR 190
#define IDB_TOOL_CLEAR 191
#define IDC_TOOL_CURSOR 192
#define IDC_ABOUT_WEB 1070
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
