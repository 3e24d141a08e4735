/* Resource ids shared by the C++ sources and res/brisvane.rc.
 * Plain #defines only: the resource compiler's preprocessor understands
 * nothing richer, and both sides must agree on every value. */
#ifndef BRISVANE_RESOURCE_H
#define BRISVANE_RESOURCE_H

#define IDD_SELECT 101
#define IDI_MAIN 102

/* IDOK (1) and IDCANCEL (2) come from windows.h. */
#define IDC_BOOTMENU 3
#define IDC_OSLIST 1002
#define IDC_ABOUT 1003

#endif /* BRISVANE_RESOURCE_H */
