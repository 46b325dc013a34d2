#include <windows.h>
#include <gtest/gtest.h>
#include <vector>
#include "framework/DialogTemplate.h"
#include "resources/resource.h"

namespace {

std::vector<uint8_t> TemplateBytes(UINT id)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    const auto* data = static_cast<const uint8_t*>(info ? ::LockResource(::LoadResource(instance, info)) : nullptr);
    return data ? std::vector<uint8_t>(data, data + ::SizeofResource(instance, info)) : std::vector<uint8_t>();
}

std::wstring Text(const RECT& r)
{
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"-" + std::to_wstring(r.right) + L","
           + std::to_wstring(r.bottom);
}

}  // namespace

// The main view's template: the dialog and its eight buttons come out with no size, each where
// the template puts it, with its id and text; the template's rectangles stay readable.
TEST(UnsizedDialogTemplateTest, ControlsAreMadeEmptyWhereTheTemplatePutsThem)
{
    CUnsizedDialogTemplate copy;
    ASSERT_TRUE(copy.Load(::GetModuleHandleW(nullptr), IDD_MAINVIEW));
    RECT first{-1, -1, -1, -1}, last{-1, -1, -1, -1}, none{-1, -1, -1, -1};
    EXPECT_TRUE(copy.GetItemRect(IDC_QVGA_PORTRAIT, first));
    EXPECT_EQ(L"6,3-77,39", Text(first));
    EXPECT_TRUE(copy.GetItemRect(IDC_VGA_LANDSCAPE_LEFT, last));
    EXPECT_EQ(L"80,123-151,159", Text(last));
    EXPECT_FALSE(copy.GetItemRect(IDD_MAINVIEW, none));
    EXPECT_EQ(L"-1,-1--1,-1", Text(none)) << "left as it was";

    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), copy.Get(), parent, nullptr, 0);
    ASSERT_TRUE(dialog) << "last error " << ::GetLastError();
    RECT rect{-1, -1, -1, -1};
    ::GetClientRect(dialog, &rect);
    EXPECT_TRUE(::IsRectEmpty(&rect)) << Text(rect);
    HWND button = ::GetDlgItem(dialog, IDC_QVGA_PORTRAIT);
    ASSERT_TRUE(button);
    RECT place{6, 3, 0, 0};
    ::MapDialogRect(dialog, &place);
    rect = RECT{-1, -1, -1, -1};
    ::GetWindowRect(button, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(Text(RECT{place.left, place.top, place.left, place.top}), Text(rect));
    wchar_t text[64] = L"sentinel";
    ::GetWindowTextW(button, text, 64);
    EXPECT_STREQ(L"Portrait (Standard)", text);
    ::DestroyWindow(parent);
}

// Every cut of the template's bytes, and a template of the plain form, are refused whole.
TEST(UnsizedDialogTemplateTest, DamagedOrPlainTemplatesAreRefused)
{
    const std::vector<uint8_t> bytes = TemplateBytes(IDD_MAINVIEW);
    ASSERT_FALSE(bytes.empty());
    CUnsizedDialogTemplate copy;
    for (size_t size = 0; size < bytes.size(); ++size) {
        ASSERT_FALSE(copy.Assign(bytes.data(), size)) << "cut at " << size << " of " << bytes.size();
        RECT rect{};
        EXPECT_EQ(nullptr, copy.Get()) << size;
        EXPECT_FALSE(copy.GetItemRect(IDC_QVGA_PORTRAIT, rect)) << size;
    }
    EXPECT_TRUE(copy.Assign(bytes.data(), bytes.size()));
    // A plain DLGTEMPLATE: style, extended style, no items, a rectangle, no menu, class or title.
    const uint16_t plain[] = {0x0000, 0x4000, 0, 0, 0, 0, 0, 10, 10, 0, 0, 0};
    EXPECT_FALSE(copy.Assign(reinterpret_cast<const uint8_t*>(plain), sizeof plain));
    EXPECT_EQ(nullptr, copy.Get()) << "a refused template leaves no copy behind";
}
