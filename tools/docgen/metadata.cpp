#include "metadata.h"

#include <array>

namespace docgen {

namespace {

std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void put16(std::string &out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// 1 January 2010, 00:00, in MS-DOS form.
constexpr unsigned kDosTime = 0;
constexpr unsigned kDosDate = ((2010 - 1980) << 9) | (1 << 5) | 1;

const char *const kTheme =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"Veltrano\">"
    "<a:themeElements>"
    "<a:clrScheme name=\"Veltrano\">"
    "<a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1>"
    "<a:lt1><a:sysClr val=\"window\" lastClr=\"FFFFFF\"/></a:lt1>"
    "<a:dk2><a:srgbClr val=\"1F2A44\"/></a:dk2>"
    "<a:lt2><a:srgbClr val=\"EEF0F3\"/></a:lt2>"
    "<a:accent1><a:srgbClr val=\"2E5C8A\"/></a:accent1>"
    "<a:accent2><a:srgbClr val=\"8A3B2E\"/></a:accent2>"
    "<a:accent3><a:srgbClr val=\"5C7F3A\"/></a:accent3>"
    "<a:accent4><a:srgbClr val=\"6B4C8A\"/></a:accent4>"
    "<a:accent5><a:srgbClr val=\"2E7F7F\"/></a:accent5>"
    "<a:accent6><a:srgbClr val=\"B07A2A\"/></a:accent6>"
    "<a:hlink><a:srgbClr val=\"1C4FA0\"/></a:hlink>"
    "<a:folHlink><a:srgbClr val=\"6A3D9A\"/></a:folHlink>"
    "</a:clrScheme>"
    "<a:fontScheme name=\"Veltrano\">"
    "<a:majorFont><a:latin typeface=\"Arial\"/><a:ea typeface=\"\"/><a:cs typeface=\"Times New Roman\"/>"
    "</a:majorFont>"
    "<a:minorFont><a:latin typeface=\"Arial\"/><a:ea typeface=\"\"/><a:cs typeface=\"Arial\"/></a:minorFont>"
    "</a:fontScheme>"
    "<a:fmtScheme name=\"Veltrano\">"
    "<a:fillStyleLst>"
    "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"
    "<a:solidFill><a:schemeClr val=\"phClr\"><a:tint val=\"60000\"/></a:schemeClr></a:solidFill>"
    "<a:solidFill><a:schemeClr val=\"phClr\"><a:shade val=\"80000\"/></a:schemeClr></a:solidFill>"
    "</a:fillStyleLst>"
    "<a:lnStyleLst>"
    "<a:ln w=\"9525\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>"
    "<a:ln w=\"19050\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>"
    "<a:ln w=\"28575\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>"
    "</a:lnStyleLst>"
    "<a:effectStyleLst>"
    "<a:effectStyle><a:effectLst/></a:effectStyle>"
    "<a:effectStyle><a:effectLst/></a:effectStyle>"
    "<a:effectStyle><a:effectLst/></a:effectStyle>"
    "</a:effectStyleLst>"
    "<a:bgFillStyleLst>"
    "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"
    "<a:solidFill><a:schemeClr val=\"phClr\"><a:tint val=\"95000\"/></a:schemeClr></a:solidFill>"
    "<a:solidFill><a:schemeClr val=\"phClr\"><a:shade val=\"90000\"/></a:schemeClr></a:solidFill>"
    "</a:bgFillStyleLst>"
    "</a:fmtScheme>"
    "</a:themeElements>"
    "<a:objectDefaults/><a:extraClrSchemeLst/>"
    "</a:theme>";

const char *const kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Override PartName=\"/theme/theme/themeManager.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.themeManager+xml\"/>"
    "<Override PartName=\"/theme/theme/theme1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>"
    "</Types>";

const char *const kPackageRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"theme/theme/themeManager.xml\"/>"
    "</Relationships>";

const char *const kThemeManager =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<a:themeManager xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"/>";

const char *const kThemeManagerRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme\" "
    "Target=\"theme1.xml\"/>"
    "</Relationships>";

} // namespace

std::uint32_t crc32(std::string_view data)
{
    static const auto table = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : data)
        c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string storedZip(const std::vector<ZipMember> &members)
{
    std::string out;
    std::string directory;
    for (const ZipMember &m : members) {
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        const std::uint32_t crc = crc32(m.data);
        const auto size = static_cast<std::uint32_t>(m.data.size());
        put32(out, 0x04034b50);
        put16(out, 20); // version needed
        put16(out, 0);  // flags
        put16(out, 0);  // stored
        put16(out, kDosTime);
        put16(out, kDosDate);
        put32(out, crc);
        put32(out, size);
        put32(out, size);
        put16(out, static_cast<unsigned>(m.name.size()));
        put16(out, 0);
        out += m.name;
        out += m.data;

        put32(directory, 0x02014b50);
        put16(directory, 20); // made by
        put16(directory, 20); // needed
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, kDosTime);
        put16(directory, kDosDate);
        put32(directory, crc);
        put32(directory, size);
        put32(directory, size);
        put16(directory, static_cast<unsigned>(m.name.size()));
        put16(directory, 0); // extra
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, offset);
        directory += m.name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(members.size()));
    put16(out, static_cast<unsigned>(members.size()));
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

std::string themePackage()
{
    return storedZip({
        {"[Content_Types].xml", kContentTypes},
        {"_rels/.rels", kPackageRelationships},
        {"theme/theme/themeManager.xml", kThemeManager},
        {"theme/theme/theme1.xml", kTheme},
        {"theme/theme/_rels/themeManager.xml.rels", kThemeManagerRelationships},
    });
}

std::string colourSchemeMapping()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<a:clrMap xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" bg1=\"lt1\" tx1=\"dk1\" "
           "bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" accent2=\"accent2\" accent3=\"accent3\" "
           "accent4=\"accent4\" accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/>";
}

std::string dataStore(int documentNumber, std::size_t reserve)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                      "<store xmlns=\"urn:veltrano:docgen:store\">"
                      "<document number=\"" +
                      std::to_string(documentNumber) +
                      "\" generator=\"Veltrano docgen 1.0\"/>"
                      "<reserve>";
    xml.append(reserve, ' ');
    xml += "</reserve></store>";
    return xml;
}

std::string hexEncode(std::string_view bytes)
{
    static const char *const digits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

} // namespace docgen
