#include "ControlsTestDialog.h"

BEGIN_MESSAGE_MAP(ControlsTestDialog, CDialog)
ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColorDialog)
END_MESSAGE_MAP()
