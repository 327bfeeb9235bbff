#pragma once
// The common base of the program's static controls.
#include "framework/Controls.h"

class CMyStatic : public CStatic {
  public:
    CMyStatic() = default;
    ~CMyStatic() override;
};
