// Resource and control numbers of the Windows window, shared by lintaro.rc
// and the C++ sources (plain #defines: the resource compiler reads them too).
// Menu commands keep the numbers the wxWidgets front end uses.
#pragma once

#define IDI_LINTARO 101
#define IDM_MAIN 102

// Menu commands.
#define CMD_CHECK_FILE 40001
#define CMD_PREFERENCES 40002
#define CMD_HELP 40003
#define CMD_CONTACT 40004
#define CMD_QUIT 40005
#define CMD_FORMAT_FILE 40006
#define CMD_DEPENDENCIES 40027
#define CMD_CHECK_SCRIPT 40029
#define CMD_ABOUT 40030
#define CMD_SITE 40031
#define CMD_CONSOLE 40032
#define CMD_CLEAN 40033
#define CMD_RESET 40034
#define CMD_OPEN_REPORT 40035
#define CMD_CHECK_PLUGIN 40036
#define CMD_RECENT_FIRST 40040  // the recent files: kRecentFileCount numbers

// Dialog controls.
#define IDC_CHECK_NAME 40001
#define IDC_FORMAT_NAME 40006
#define IDC_FORMAT_SCRIPT 40007
#define IDC_OPEN_FILE 40008
#define IDC_LOAD_FILE 40009
#define IDC_LOAD_NAME 40010
#define IDC_SHOW_REPORT 40011
#define IDC_TRIBUNAL 40012
#define IDC_BLOODMOON 40013
#define IDC_HIDE_ALERTS 40014
#define IDC_BROWSE 40015
#define IDC_CARET 40016
#define IDC_SHOW_INFO 40028
#define IDC_SCRIPT_BOX 40029
#define IDC_PLUGIN_HEAD 40050
#define IDC_PLUGIN_LIST 40051
#define IDC_PLUGIN_REPORT 40052
#define IDC_PLUGIN_SAVE 40053
#define IDC_PLUGIN_CLOSE 40054

// The main window's children.
#define IDC_FINDINGS 40060
#define IDC_SCRIPT_VIEW 40061
