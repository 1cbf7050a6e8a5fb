// The about box.
#include "app/ui/CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* owner) : CTemplateDialog(100, owner) {}
