#include "ViewFrame.h"

BEGIN_MESSAGE_MAP(ViewFrame, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()
