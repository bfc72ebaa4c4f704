#include "WaitCursor.h"

namespace {
int waitDepth = 0;
HCURSOR cursorBefore = nullptr;
}  // namespace

CWaitCursor::CWaitCursor() {
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (waitDepth++ == 0)
        cursorBefore = previous;
}

CWaitCursor::~CWaitCursor() {
    if (--waitDepth == 0)
        ::SetCursor(cursorBefore ? cursorBefore
                                 : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

void CWaitCursor::Restore() {
    if (waitDepth > 0)
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

bool CWaitCursor::Active() {
    return waitDepth > 0;
}
