// Ids of resources and commands, shared by vantrel.rc and the C++ code.
// Plain #defines only: the resource compiler reads this file too.

#ifndef VANTREL_RES_RESOURCE_H
#define VANTREL_RES_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// --- Resources --------------------------------------------------------------

// Menu, icon and accelerator table of every container frame share one id.
#define IDR_MAINFRAME                   128
#define IDR_DONATE_POPUP                314
#define IDR_WINDOW_POPUP                318
#define IDR_SYSMENU_ADDITION            319
#define IDR_SYSTRAY_MENU                321

#define IDD_ABOUTBOX                    100
#define IDD_WINDOWNAME                  317
#define IDD_FIND_DOCUMENT               330

#define IDB_WINDOW_BUTTON               311
#define IDB_WINDOW_BUTTON_16COLOR       312
#define IDB_DONATE_BANNER               313
#define IDB_WINDOW_CHECKED_16COLOR      315
#define IDB_WINDOW_CHECKED              316
#define IDB_ABOUT_LOGO                  320
// Larger variants of a 16-pixel picture `id`, for screens of more dots per inch:
// 24 pixels at id + 1000, 32 pixels at id + 2000.
#define IDB_VARIANT_24_OFFSET           1000
#define IDB_VARIANT_32_OFFSET           2000
#define IDB_WINDOW_BUTTON_24            1311
#define IDB_WINDOW_CHECKED_24           1316
#define IDB_WINDOW_BUTTON_32            2311
#define IDB_WINDOW_CHECKED_32           2316

// --- Dialog controls --------------------------------------------------------

#define IDC_ABOUT_NOTE                  1001
#define IDC_WINDOW_NAME                 1000
#define IDC_FIND_TEXT                   1000
#define IDC_FIND_LIST                   1001

// --- Strings ----------------------------------------------------------------

#define IDS_WINDOWS_TASKBAR             126
// Same number as IDR_MAINFRAME: the frame title is the string of the frame's
// resource id.
#define IDS_FRAME_TITLE                 128
#define IDS_APP_TITLE                   57344
#define IDS_IDLE_MESSAGE                57345
#define IDS_INDICATOR_CAPS              59137
#define IDS_INDICATOR_NUM               59138
#define IDS_INDICATOR_SCRL              59139

// --- Commands of the frame menu (IDR_MAINFRAME) ----------------------------
// A command's status-bar prompt is the string with the command's id.

#define ID_NEW_WINDOW                   33773
#define ID_CHANGE_WINDOW_NAME           33775
#define ID_START_WITH_WINDOWS           33805
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define ID_VIEW_STATUS_BAR              59393

// The stored look is the command id itself, so these numbers must not move.
#define ID_VIEW_APPLOOK_WIN_2000        205
#define ID_VIEW_APPLOOK_OFF_XP          206
#define ID_VIEW_APPLOOK_WIN_XP          207
#define ID_VIEW_APPLOOK_OFF_2003        208
#define ID_VIEW_APPLOOK_VS_2005         209
#define ID_VIEW_APPLOOK_VS_2008         210
#define ID_VIEW_APPLOOK_OFF_2007_BLUE   215
#define ID_VIEW_APPLOOK_OFF_2007_BLACK  216
#define ID_VIEW_APPLOOK_OFF_2007_SILVER 217
#define ID_VIEW_APPLOOK_OFF_2007_AQUA   218
#define ID_VIEW_APPLOOK_WINDOWS_7       219
#define ID_VIEW_APPLOOK_FIRST           ID_VIEW_APPLOOK_WIN_2000
#define ID_VIEW_APPLOOK_LAST            ID_VIEW_APPLOOK_WINDOWS_7

#define ID_SYSTRAY_ENABLE               33792
#define ID_SYSTRAY_HIDE_ON_CLOSE        33793
#define ID_SYSTRAY_HIDE_ON_MINIMIZE     33794

#define ID_TILE_HORIZONTALLY            33789
#define ID_TILE_VERTICALLY              33790
#define ID_CLOSE_ALL_WINDOWS            33785
#define ID_BRING_TO_FRONT               33803
#define ID_TABMODE                      33804
#define ID_FIND_DOCUMENT                33820
#define ID_RESTORE_FRAMES               33821
#define ID_GO_TO_TASKBAR                33822
#define ID_DOCK_TASKBAR_BOTTOM          33784

#define ID_VISIT_HOMEPAGE               33788
#define ID_CHECK_FOR_UPDATE             33786
#define ID_OPEN_DIAGNOSTICS             33823

// Accelerator only: swallows Ctrl+Tab in the frame, the switching is polled.
#define ID_CTRL_TAB                     33811

// --- Frame children and bars ------------------------------------------------

// The window taskbar pane; also a command that shows or hides it.
#define ID_WINDOW_TASKBAR               133
#define ID_CAPTION_ACTION               220
#define ID_CAPTION_BAR                  221
#define IDC_MENU_BAR                    59398
#define IDC_HOST_VIEW                   59648

// --- System menu addition (IDR_SYSMENU_ADDITION) ---------------------------

#define ID_SYSMENU_FILE_MENU            33787

// --- Tray menu (IDR_SYSTRAY_MENU) ------------------------------------------

#define ID_SYSTRAY_EXIT                 33795
#define ID_SYSTRAY_SHOW_ALL             33796
#define ID_SYSTRAY_HIDE_ALL             33797
#define ID_SYSTRAY_HIDE_ICON            33800

// Frame entries built at run time: the main frame, then additional frame p.
#define ID_SYSTRAY_FRAME_FIRST          32768
#define ID_SYSTRAY_FRAME_LAST           32802

// --- Donation popup (IDR_DONATE_POPUP) -------------------------------------

#define ID_DONATE                       33771
#define ID_HIDE_CAPTION                 33772

// --- Per-window popup (IDR_WINDOW_POPUP) -----------------------------------

#define ID_WINDOW_CLOSE                 33776
#define ID_WINDOW_MAXIMIZE              33777
#define ID_WINDOW_MINIMIZE              33778
#define ID_WINDOW_MOVE_TO_NEW           33781
#define ID_WINDOW_MOVE_TO_MAIN          33782
#define ID_WINDOW_CENTER                33783

// "Move to" entries built at run time, one per registry position. This range
// overlaps the tray's; they never meet because the tray menu's commands go
// to the frame and these to the window taskbar control.
#define ID_MOVE_TO_FIRST                32788
#define ID_MOVE_TO_LAST                 32848

// --- Window buttons ---------------------------------------------------------

// Button of hosted window i has the control id ID_WINDOW_BUTTON_FIRST + i.
#define ID_WINDOW_BUTTON_FIRST          400

#endif // VANTREL_RES_RESOURCE_H
