// CTransparentPicture: a picture control whose bitmap is drawn with white left out, so that the
// dialog shows through the white parts and any part of the control the bitmap does not cover.
#pragma once
#include "framework/StdControls.h"

class CTransparentPicture : public CStatic {
  public:
    CTransparentPicture() = default;
    ~CTransparentPicture() override;

    void OnPaint();

  private:
    const COLORREF m_transparent = RGB(255, 255, 255);

    DECLARE_MESSAGE_MAP()
};
