#include "ProgramMenus.h"
#include <memory>
#include "framework/Handle.h"

namespace {

struct FreeModule {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

std::vector<MenuItemInfo> ReadItems(HMENU menu, int depth)
{
    std::vector<MenuItemInfo> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count && depth < 8; ++i) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 256;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        MenuItemInfo item{text, info.hSubMenu ? 0u : info.wID, (info.fType & MFT_SEPARATOR) != 0, {}};
        if (item.separator)
            item.text.clear();
        if (info.hSubMenu)
            item.items = ReadItems(info.hSubMenu, depth + 1);
        items.push_back(std::move(item));
    }
    return items;
}

BOOL CALLBACK AddMenuId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(param)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

}  // namespace

bool ReadProgramMenus(HWND window, std::wstring& program, std::vector<ProgramMenu>& menus, std::wstring& message)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    CKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, path, &length)) {
        message = L"the window's program cannot be found";
        return false;
    }
    program = path;
    ModulePtr module(::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) {
        message = L"cannot read the program " + program;
        return false;
    }
    std::vector<int> ids;
    ::EnumResourceNamesW(module.get(), RT_MENU, AddMenuId, reinterpret_cast<LONG_PTR>(&ids));
    menus.clear();
    for (int id : ids) {
        CMenuHandle menu(::LoadMenuW(module.get(), MAKEINTRESOURCEW(id)));
        if (menu)
            menus.push_back({id, ReadItems(menu.Get(), 0)});
    }
    return true;
}
