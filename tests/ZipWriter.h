#pragma once
// Builds zip archives byte by byte for the tests, and records where every field of every
// record lies, so that a test can damage exactly one field.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct ZipEntryDef {
    ZipEntryDef(std::string name_, std::string data_, uint16_t method_ = 0, uint32_t attributes_ = 0x20,
                 std::string localExtra_ = {}, std::string centralExtra_ = {}, std::string comment_ = {})
        : name(std::move(name_)), data(std::move(data_)), method(method_), attributes(attributes_),
          localExtra(std::move(localExtra_)), centralExtra(std::move(centralExtra_)), comment(std::move(comment_))
    {
    }
    std::string name;  // as stored, "/" separators
    std::string data;  // stored as it is, whatever the method says
    uint16_t method;
    uint32_t attributes;
    std::string localExtra;
    std::string centralExtra;
    std::string comment;
};

struct ZipField {
    std::string label;  // e.g. "central[1].nameLength"
    size_t offset;
    size_t size;  // 2 or 4
};

struct ZipImage {
    std::string bytes;
    std::vector<ZipField> fields;

    const ZipField& Field(const std::string& label) const
    {
        for (const ZipField& f : fields)
            if (f.label == label)
                return f;
        throw std::invalid_argument("no field " + label);
    }
    uint32_t Get(const std::string& label) const
    {
        const ZipField& f = Field(label);
        uint32_t value = 0;
        for (size_t i = 0; i < f.size; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[f.offset + i])) << (8 * i);
        return value;
    }
    void Set(const std::string& label, uint32_t value)
    {
        const ZipField& f = Field(label);
        for (size_t i = 0; i < f.size; ++i)
            bytes[f.offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
};

namespace zipwriter {

inline uint32_t Crc32(const std::string& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class Writer {
public:
    explicit Writer(ZipImage& image) : m_image(image) {}
    void Put(const std::string& record, const char* field, size_t size, uint32_t value)
    {
        m_image.fields.push_back({record + "." + field, m_image.bytes.size(), size});
        for (size_t i = 0; i < size; ++i)
            m_image.bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void Raw(const std::string& bytes) { m_image.bytes += bytes; }
    uint32_t Position() const { return static_cast<uint32_t>(m_image.bytes.size()); }

private:
    ZipImage& m_image;
};

}  // namespace zipwriter

// Local headers with their data, the central directory, the end record: the layout every
// zip tool writes. An archive comment, when given, follows the end record.
inline ZipImage BuildZip(const std::vector<ZipEntryDef>& entries, const std::string& archiveComment = "")
{
    ZipImage image;
    zipwriter::Writer w(image);
    // The fields that both headers of an entry share, in the same order.
    const auto PutCommon = [&w](const std::string& r, const ZipEntryDef& e, const std::string& extra) {
        w.Put(r, "flags", 2, 0);
        w.Put(r, "method", 2, e.method);
        w.Put(r, "time", 2, 0x6000);
        w.Put(r, "date", 2, 0x5821);
        w.Put(r, "crc", 4, zipwriter::Crc32(e.data));
        w.Put(r, "compressedSize", 4, static_cast<uint32_t>(e.data.size()));
        w.Put(r, "size", 4, static_cast<uint32_t>(e.data.size()));
        w.Put(r, "nameLength", 2, static_cast<uint32_t>(e.name.size()));
        w.Put(r, "extraLength", 2, static_cast<uint32_t>(extra.size()));
    };
    std::vector<uint32_t> localOffsets;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ZipEntryDef& e = entries[i];
        const std::string r = "local[" + std::to_string(i) + "]";
        localOffsets.push_back(w.Position());
        w.Put(r, "signature", 4, 0x04034b50);
        w.Put(r, "version", 2, 20);
        PutCommon(r, e, e.localExtra);
        w.Raw(e.name + e.localExtra + e.data);
    }
    const uint32_t directory = w.Position();
    for (size_t i = 0; i < entries.size(); ++i) {
        const ZipEntryDef& e = entries[i];
        const std::string r = "central[" + std::to_string(i) + "]";
        w.Put(r, "signature", 4, 0x02014b50);
        w.Put(r, "versionMadeBy", 2, 20);
        w.Put(r, "versionNeeded", 2, 20);
        PutCommon(r, e, e.centralExtra);
        w.Put(r, "commentLength", 2, static_cast<uint32_t>(e.comment.size()));
        w.Put(r, "diskStart", 2, 0);
        w.Put(r, "internalAttributes", 2, 0);
        w.Put(r, "attributes", 4, e.attributes);
        w.Put(r, "localHeaderOffset", 4, localOffsets[i]);
        w.Raw(e.name + e.centralExtra + e.comment);
    }
    const uint32_t directorySize = w.Position() - directory;
    w.Put("end", "signature", 4, 0x06054b50);
    w.Put("end", "disk", 2, 0);
    w.Put("end", "directoryDisk", 2, 0);
    w.Put("end", "diskRecords", 2, static_cast<uint32_t>(entries.size()));
    w.Put("end", "totalRecords", 2, static_cast<uint32_t>(entries.size()));
    w.Put("end", "directorySize", 4, directorySize);
    w.Put("end", "directoryOffset", 4, directory);
    w.Put("end", "commentLength", 2, static_cast<uint32_t>(archiveComment.size()));
    w.Raw(archiveComment);
    return image;
}
