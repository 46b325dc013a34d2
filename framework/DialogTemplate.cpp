#include "framework/DialogTemplate.h"
#include <cstdint>

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

}  // namespace

std::wstring GetDialogTemplateCaption(HINSTANCE instance, UINT templateId)
{
    HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = info ? ::LoadResource(instance, info) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data)
        return std::wstring();
    CWordReader reader(data, ::SizeofResource(instance, info));
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
