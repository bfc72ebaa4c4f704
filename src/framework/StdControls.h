// Thin wrappers for the standard controls that the program's own control classes build on.
#pragma once
#include "Wnd.h"

class CEdit : public CWnd {};
class CStatic : public CWnd {};
