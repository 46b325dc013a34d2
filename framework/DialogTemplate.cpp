#include "framework/DialogTemplate.h"
#include <cstdint>
#include <cstring>

namespace {

// Little-endian 16-bit words of a resource, each read only after checking that it is there.
class CWordReader {
public:
    CWordReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Skip(size_t bytes)
    {
        if (m_size - m_pos < bytes)
            return false;
        m_pos += bytes;
        return true;
    }
    bool Word(uint16_t& value)
    {
        if (m_size - m_pos < 2)
            return false;
        value = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool DWord(uint32_t& value)
    {
        uint16_t low = 0, high = 0;
        if (!Word(low) || !Word(high))
            return false;
        value = low | (static_cast<uint32_t>(high) << 16);
        return true;
    }
    // Template items start on a 32-bit boundary of the resource.
    bool AlignToDWord() { return Skip((4 - m_pos % 4) % 4); }
    size_t Position() const { return m_pos; }
    // A name or ordinal field: nothing (0), an ordinal (0xFFFF then the number) or a text.
    bool NameOrOrdinal(std::wstring* text)
    {
        uint16_t first = 0;
        if (!Word(first))
            return false;
        if (first == 0)
            return true;
        if (first == 0xFFFF)
            return Skip(2);
        for (uint16_t c = first; c != 0;) {
            if (text)
                text->push_back(static_cast<wchar_t>(c));
            if (!Word(c))
                return false;
        }
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// The resource's bytes, or null.
const uint8_t* LoadTemplate(HINSTANCE instance, UINT templateId, size_t& size)
{
    HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = info ? ::LoadResource(instance, info) : nullptr;
    size = info ? ::SizeofResource(instance, info) : 0;
    return static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
}

int16_t SignedWord(uint16_t word)
{
    return static_cast<int16_t>(word);
}

}  // namespace

std::wstring GetDialogTemplateCaption(HINSTANCE instance, UINT templateId)
{
    size_t size = 0;
    const uint8_t* data = LoadTemplate(instance, templateId, size);
    if (!data)
        return std::wstring();
    CWordReader reader(data, size);
    uint16_t version = 0, signature = 0;
    if (!reader.Word(version) || !reader.Word(signature))
        return std::wstring();
    // The extended form: help id, extended style, style; the plain one: the two remaining
    // words of its style, then its extended style. Both go on with the item count and the
    // dialog's position and size.
    const bool extended = version == 1 && signature == 0xFFFF;
    if (!reader.Skip(extended ? 12 : 4) || !reader.Skip(2 + 8))
        return std::wstring();
    std::wstring caption;
    if (!reader.NameOrOrdinal(nullptr) || !reader.NameOrOrdinal(nullptr) || !reader.NameOrOrdinal(&caption))
        return std::wstring();
    return caption;
}

bool CUnsizedDialogTemplate::Load(HINSTANCE instance, UINT templateId)
{
    size_t size = 0;
    const uint8_t* data = LoadTemplate(instance, templateId, size);
    return Assign(data, size);
}

bool CUnsizedDialogTemplate::Assign(const uint8_t* data, size_t size)
{
    m_bytes.clear();
    m_items.clear();
    if (!data)
        return false;
    // The header: version 1 and 0xFFFF, help id, extended style, style, item count, then
    // x, y, cx and cy; menu, class and caption; the font when the style asks for one.
    CWordReader reader(data, size);
    uint16_t version = 0, signature = 0, count = 0, word = 0;
    uint32_t style = 0;
    if (!reader.Word(version) || !reader.Word(signature) || version != 1 || signature != 0xFFFF || !reader.Skip(8)
        || !reader.DWord(style) || !reader.Word(count) || !reader.Skip(4))
        return false;
    std::vector<size_t> sizes{reader.Position()};
    if (!reader.Skip(4) || !reader.NameOrOrdinal(nullptr) || !reader.NameOrOrdinal(nullptr)
        || !reader.NameOrOrdinal(nullptr))
        return false;
    if ((style & DS_SETFONT) && (!reader.Skip(6) || !reader.NameOrOrdinal(nullptr)))
        return false;
    // Each item: help id, extended style, style, x, y, cx, cy, a 32-bit id, class and text,
    // then the length of its creation data and the data.
    std::vector<std::pair<UINT, RECT>> items;
    for (uint16_t n = 0; n < count; ++n) {
        uint16_t x = 0, y = 0, cx = 0, cy = 0;
        uint32_t id = 0;
        if (!reader.AlignToDWord() || !reader.Skip(12) || !reader.Word(x) || !reader.Word(y))
            return false;
        sizes.push_back(reader.Position());
        if (!reader.Word(cx) || !reader.Word(cy) || !reader.DWord(id) || !reader.NameOrOrdinal(nullptr)
            || !reader.NameOrOrdinal(nullptr) || !reader.Word(word) || !reader.Skip(word))
            return false;
        items.emplace_back(id, RECT{SignedWord(x), SignedWord(y), SignedWord(x) + SignedWord(cx),
                                    SignedWord(y) + SignedWord(cy)});
    }
    m_bytes.assign(data, data + size);
    for (const size_t at : sizes)
        std::memset(&m_bytes[at], 0, 4);
    m_items = std::move(items);
    return true;
}

const DLGTEMPLATE* CUnsizedDialogTemplate::Get() const
{
    return m_bytes.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data());
}

bool CUnsizedDialogTemplate::GetItemRect(UINT id, RECT& rect) const
{
    for (const auto& [itemId, itemRect] : m_items) {
        if (itemId == id) {
            rect = itemRect;
            return true;
        }
    }
    return false;
}
