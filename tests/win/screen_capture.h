// Pictures of the screen for the Win32 tests' artifacts: a rectangle of the screen as it shows
// now, written as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline bool saveScreenRect(const RECT& r, const std::string& path) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = static_cast<DWORD>((w * 3 + 3) & ~3);
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    bool ok = false;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        ok = bits != nullptr && std::fwrite(&file, sizeof file, 1, f) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
             std::fwrite(bits, 1, imageBytes, f) == imageBytes;
        ok = std::fclose(f) == 0 && ok;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// What the screen shows of a window, frame included.
inline bool saveWindowPicture(HWND window, const std::string& path) {
    RECT r{};
    return GetWindowRect(window, &r) && saveScreenRect(r, path);
}
