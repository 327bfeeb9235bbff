#include "controls/MyStatic.h"

CMyStatic::~CMyStatic() = default;
