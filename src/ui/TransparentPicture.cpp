#include "ui/TransparentPicture.h"

BEGIN_MESSAGE_MAP(CTransparentPicture, CStatic)
ON_WM_PAINT()
END_MESSAGE_MAP()

CTransparentPicture::~CTransparentPicture() = default;

void CTransparentPicture::OnPaint() {
    HBITMAP picture = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!picture) {
        Default();
        return;
    }
    CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;

    // The image: the bitmap over a background of the transparent colour.
    HDC image = ::CreateCompatibleDC(paint);
    HBITMAP imageBitmap = ::CreateCompatibleBitmap(paint, w, h);
    HGDIOBJ oldImage = ::SelectObject(image, imageBitmap);
    COLORREF oldBack = ::SetBkColor(image, m_transparent);
    RECT all{0, 0, w, h};
    ::ExtTextOutA(image, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    ::SetBkColor(image, oldBack);
    HDC source = ::CreateCompatibleDC(paint);
    HGDIOBJ oldSource = ::SelectObject(source, picture);
    ::BitBlt(image, 0, 0, w, h, source, 0, 0, SRCCOPY);

    // The mask: 1 where the image has the transparent colour.
    HDC mask = ::CreateCompatibleDC(paint);
    HBITMAP maskBitmap = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = ::SelectObject(mask, maskBitmap);
    oldBack = ::SetBkColor(image, m_transparent);
    ::BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);
    ::SetBkColor(image, oldBack);

    // Keep the destination where the mask is 1, copy the image where it is 0.
    if (!::MaskBlt(paint, 0, 0, w, h, image, 0, 0, maskBitmap, 0, 0, 0xCCAA0020)) {
        HDC temp = ::CreateCompatibleDC(paint);
        HBITMAP tempBitmap = ::CreateCompatibleBitmap(paint, w, h);
        HGDIOBJ oldTemp = ::SelectObject(temp, tempBitmap);
        ::BitBlt(temp, 0, 0, w, h, paint, 0, 0, SRCCOPY);
        ::BitBlt(temp, 0, 0, w, h, mask, 0, 0, SRCAND);
        ::BitBlt(image, 0, 0, w, h, mask, 0, 0, 0x220326);
        ::BitBlt(temp, 0, 0, w, h, image, 0, 0, SRCPAINT);
        ::BitBlt(paint, 0, 0, w, h, temp, 0, 0, SRCCOPY);
        ::SelectObject(temp, oldTemp);
        ::DeleteObject(tempBitmap);
        ::DeleteDC(temp);
    }

    ::SelectObject(mask, oldMask);
    ::SelectObject(source, oldSource);
    ::SelectObject(image, oldImage);
    ::DeleteObject(maskBitmap);
    ::DeleteObject(imageBitmap);
    ::DeleteDC(mask);
    ::DeleteDC(source);
    ::DeleteDC(image);
}
