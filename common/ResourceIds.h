#pragma once

// Resource ids of the program: string table, commands, dialogs and controls.
namespace Res {

// String table.
inline constexpr unsigned IDS_READ_ERROR = 10000;
inline constexpr unsigned IDS_CLOCK_READ_ERROR = 10001;
inline constexpr unsigned IDS_CLOCK_SET_OK = 10002;
inline constexpr unsigned IDS_CLOCK_SET_ERROR = 10003;
inline constexpr unsigned IDS_ASK_CLEAR_BUFFER = 10004;
inline constexpr unsigned IDS_CLEAR_BUFFER_ERROR = 10005;
inline constexpr unsigned IDS_FORMAT_OK = 10006;
inline constexpr unsigned IDS_FORMAT_ERROR = 10007;
inline constexpr unsigned IDS_ID_OK = 10008;
inline constexpr unsigned IDS_ID_ERROR = 10009;
inline constexpr unsigned IDS_MODE_OK = 10010;
inline constexpr unsigned IDS_MODE_ERROR = 10011;
inline constexpr unsigned IDS_PARAMETERS_READ_ERROR = 10012;
inline constexpr unsigned IDS_ID_TWO_DIGITS = 10013;
inline constexpr unsigned IDS_ASK_MEMORY_TEST = 10014;
inline constexpr unsigned IDS_MEMORY_TEST_ERROR = 10015;
inline constexpr unsigned IDS_MEMORY_TEST_OK = 10016;
inline constexpr unsigned IDS_LANGUAGE_LOAD_ERROR = 10017;
inline constexpr unsigned IDS_HELP_NO_VIEWER = 10018;
inline constexpr unsigned IDS_HELP_NO_RESOURCES = 10019;
inline constexpr unsigned IDS_HELP_UNKNOWN_ERROR = 10020;
inline constexpr unsigned IDS_WRITE_OK = 10021;
inline constexpr unsigned IDS_WRITE_ERROR = 10022;
// Guards and states of the link and of Teach IN.
inline constexpr unsigned IDS_ASK_ERASE_ALL_KEYS = 10040;
inline constexpr unsigned IDS_ASK_RESET = 10041;
inline constexpr unsigned IDS_ASK_TEACH_IN_OFF = 10042;
inline constexpr unsigned IDS_TEACH_IN_ON = 10043;
inline constexpr unsigned IDS_NO_READER_ANSWERS = 10044;  // %1: port and its device
inline constexpr unsigned IDS_READER_PAUSED = 10045;      // %1: the reply time-out in ms
inline constexpr unsigned IDS_NOT_A_KEY = 10046;          // %1: line number, %2: the line
// States of the window: line errors, Teach IN left on.
inline constexpr unsigned IDS_LINE_ERRORS = 10070;  // %1: the kinds, 10071 to 10073
inline constexpr unsigned IDS_LINE_ERROR_OVERRUN = 10071;
inline constexpr unsigned IDS_LINE_ERROR_FRAMING = 10072;
inline constexpr unsigned IDS_LINE_ERROR_PARITY = 10073;
inline constexpr unsigned IDS_TEACH_IN_MAYBE_ON = 10074;  // %1: the port
inline constexpr unsigned IDS_PORT_PANE_SIZE = 32775;     // "USB:12345678", sizes the port pane
inline constexpr unsigned IDS_APP_TITLE = 57344;          // "Orvane"
inline constexpr unsigned IDS_APP_TITLE_SX = 57346;       // "Orvane SX"
inline constexpr unsigned IDS_IDLE_MESSAGE = 57345;       // "Bereit"

// Adding a network reader to the COM table.
inline constexpr unsigned IDS_NET_NO_FREE_NUMBER = 10130;
inline constexpr unsigned IDS_NET_NOT_STORED = 10131;  // %1: the COM number

// Framework messages of data exchange, document handling and printing.
inline constexpr unsigned IDP_PARSE_INT = 61712;
inline constexpr unsigned IDP_PARSE_INT_RANGE = 61714;
inline constexpr unsigned IDP_PARSE_STRING_SIZE = 61716;
inline constexpr unsigned IDP_PARSE_UINT = 61719;
inline constexpr unsigned IDP_ASK_TO_SAVE = 61456;
inline constexpr unsigned IDP_FAILED_TO_SAVE_DOC = 61453;
inline constexpr unsigned IDP_FAILED_TO_OPEN_DOC = 61452;
inline constexpr unsigned IDP_FAILED_TO_CREATE_DOC = 61441;
inline constexpr unsigned IDS_UNTITLED = 61443;  // "Unbenannt"

// Commands of the program.
inline constexpr unsigned ID_READ_RECORDS = 32772;
inline constexpr unsigned ID_READ_CLOCK = 32773;
inline constexpr unsigned ID_CLEAR_BUFFER = 32774;
inline constexpr unsigned ID_INDICATOR_PORT = 32775;
inline constexpr unsigned ID_SET_CLOCK = 32776;
inline constexpr unsigned ID_SELECT_INTERFACE = 32777;
inline constexpr unsigned ID_SET_ID = 32778;
inline constexpr unsigned ID_SET_MODE = 32779;
inline constexpr unsigned ID_SET_FORMAT = 32780;
inline constexpr unsigned ID_READ_PARAMETERS = 32781;
inline constexpr unsigned ID_MEMORY_TEST = 32782;
inline constexpr unsigned ID_LANGUAGE_GERMAN = 32797;
inline constexpr unsigned ID_LANGUAGE_ENGLISH = 32798;
inline constexpr unsigned ID_SET_PARAMETERS = 32799;
inline constexpr unsigned ID_KEY_NUMBERS = 32800;
inline constexpr unsigned ID_SET_TIME_FORMAT = 32801;

// Framework commands.
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_SAVE_AS = 57604;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_HELP = 57670;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;

// Menu, accelerators, tool bar, icon and document template.
inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDB_INFO_PICTURE = 129;

// Dialog templates.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_INTERFACE = 109;
inline constexpr unsigned IDD_CLOCK_SET = 130;
inline constexpr unsigned IDD_CLOCK_DISPLAY = 131;
inline constexpr unsigned IDD_CLEAR_BUFFER = 132;
inline constexpr unsigned IDD_NUMBER_FORMAT = 133;
inline constexpr unsigned IDD_ID = 134;
inline constexpr unsigned IDD_MODE_BASIC = 135;
inline constexpr unsigned IDD_MEMORY_TEST = 136;
inline constexpr unsigned IDD_MODE_EXTENDED = 137;
inline constexpr unsigned IDD_PARAMETERS = 138;
inline constexpr unsigned IDD_KEY_NUMBERS = 139;
inline constexpr unsigned IDD_TIME_FORMAT = 140;

// Standard dialog results and buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

}  // namespace Res
