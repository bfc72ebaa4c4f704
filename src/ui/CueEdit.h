// CCueEdit: an edit field that shows a grey hint of what to type while it is empty, focused or
// not. Drawn here rather than asked of the control (EM_SETCUEBANNER), which only newer common
// controls know.
#pragma once
#include <string>

#include "framework/StdControls.h"

class CCueEdit : public CEdit {
  public:
    void SetCue(std::string cue);

    void OnPaint();

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool IsEmpty() const { return ::GetWindowTextLengthA(m_hWnd) == 0; }

    std::string m_cue;

    DECLARE_MESSAGE_MAP()
};
