// The resources as Windows loads them: both string tables, the icons, the manifest and the
// version record. This test executable links the same resource script as ryxgui.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

const WORD neutral_lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
const WORD french_canadian_lang = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN);
const WORD language_free = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

HMODULE self() {
    return GetModuleHandleA(nullptr);
}

std::string program_path() {
    return executable_directory() + "\\ryxgui.exe";
}

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

// The bytes of one resource in exactly this language; empty when there is none.
std::vector<unsigned char> resource_bytes(HMODULE module, LPCSTR type, LPCSTR name, WORD lang) {
    const HRSRC found = FindResourceExA(module, type, name, lang);
    if (found == nullptr)
        return {};
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
    if (data == nullptr)
        return {};
    return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

BOOL CALLBACK collect_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    // String blocks carry numeric names only.
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

BOOL CALLBACK collect_language(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::set<WORD>*>(param)->insert(lang);
    return TRUE;
}

std::set<WORD> languages_of(HMODULE module, LPCSTR type, LPCSTR name) {
    std::set<WORD> langs;
    EnumResourceLanguagesA(module, type, name, collect_language,
                           reinterpret_cast<LONG_PTR>(&langs));
    return langs;
}

std::vector<WORD> string_blocks(HMODULE module) {
    std::vector<WORD> blocks;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(6) /* RT_STRING */, collect_name,
                       reinterpret_cast<LONG_PTR>(&blocks));
    return blocks;
}

// Every string of one language: a block holds 16 counted UTF-16 strings, block n the ids
// (n - 1) * 16 to (n - 1) * 16 + 15; a length of 0 marks an absent id.
std::map<int, std::wstring> string_table(HMODULE module, WORD lang) {
    std::map<int, std::wstring> table;
    for (WORD block : string_blocks(module)) {
        const std::vector<unsigned char> bytes =
            resource_bytes(module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block), lang);
        size_t at = 0;
        for (int i = 0; i < 16 && at + 2 <= bytes.size(); ++i) {
            WORD length = 0;
            std::memcpy(&length, &bytes[at], 2);
            at += 2;
            if (length == 0)
                continue;
            std::wstring text(length, L'\0');
            if (at + 2u * length > bytes.size())
                break;
            std::memcpy(&text[0], &bytes[at], 2u * length);
            at += 2u * length;
            table[(block - 1) * 16 + i] = text;
        }
    }
    return table;
}

// --- string tables ---

TEST(StringTables, BothLanguagesDefineTheSameIds) {
    const auto neutral = string_table(self(), neutral_lang);
    const auto french = string_table(self(), french_canadian_lang);
    ASSERT_FALSE(neutral.empty());
    std::set<int> neutral_ids, french_ids;
    for (const auto& entry : neutral)
        neutral_ids.insert(entry.first);
    for (const auto& entry : french)
        french_ids.insert(entry.first);
    EXPECT_EQ(neutral_ids, french_ids);
    // Exactly the identifiers of resource.h: none without a text, no text without a name.
    // clang-format off
    const int declared[] = {
        IDS_APP_TITLE, IDS_STATUS, IDS_TAB_CONFIG, IDS_TAB_LOGGING, IDS_START, IDS_STOP,
        IDS_SERVICE_STATUS_LABEL, IDS_STATE_NOT_INSTALLED, IDS_STATE_RUNNING, IDS_STATE_HALTED,
        IDS_STATE_STARTING, IDS_STATE_STOPPING, IDS_STATE_PAUSED, IDS_ERR_NOT_INSTALLED,
        IDS_CONFIRM_QUIT, IDS_QUIT_CAPTION, IDS_ADVANCED, IDS_APPLY, IDS_CANCEL, IDS_DEFAULT,
        IDS_SERVER_LABEL, IDS_AUTHENTICATION, IDS_USERNAME_LABEL, IDS_PASSWORD_LABEL, IDS_ANONYMOUS,
        IDS_ERR_USERNAME, IDS_ERR_PASSWORD, IDS_ERR_PREFIXLEN, IDS_ERR_KEEPALIVE_INTERVAL,
        IDS_ERR_SERVER, IDS_ERR_PREFIX_INTERFACE, IDS_ERR_WRITE_FAILED, IDS_OK, IDS_ADVANCED_TITLE,
        IDS_AUTH_METHOD_LABEL, IDS_TUNNEL_MODE_LABEL, IDS_CLIENT_ADDRESS_LABEL, IDS_AUTH_ANY,
        IDS_AUTH_DIGEST_MD5, IDS_AUTH_PLAIN, IDS_AUTH_PASS_DSS, IDS_MODE_V6ANYV4, IDS_MODE_V6V4,
        IDS_MODE_V6UDPV4, IDS_MODE_V4V6, IDS_KEEPALIVE, IDS_KEEPALIVE_INTERVAL_LABEL,
        IDS_PREFIX_LENGTH_LABEL, IDS_RTADV_INTERFACE_LABEL, IDS_DNS_SERVER_LABEL, IDS_PREFIX_GROUP,
        IDS_REQUEST_PREFIX, IDS_CLEAR, IDS_REFRESH, IDS_DATE_TIME, IDS_ENTRIES, IDS_ERR_CLIENT_QUIT
    };
    // clang-format on
    EXPECT_EQ(std::set<int>(std::begin(declared), std::end(declared)), neutral_ids);
}

TEST(StringTables, DifferOnlyInTheQuitCaption) {
    const auto neutral = string_table(self(), neutral_lang);
    const auto french = string_table(self(), french_canadian_lang);
    ASSERT_FALSE(neutral.empty());
    for (const auto& entry : neutral) {
        const auto other = french.find(entry.first);
        if (other == french.end() || entry.first == IDS_QUIT_CAPTION)
            continue;
        EXPECT_EQ(utf8(entry.second), utf8(other->second)) << "string " << entry.first;
    }
    struct Case {
        const std::map<int, std::wstring>& table;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {neutral, IDS_QUIT_CAPTION, "Quit"},
        {french, IDS_QUIT_CAPTION, "Quitter"},
        {neutral, IDS_APP_TITLE, "RYX Client GUI"},
        {french, IDS_APP_TITLE, "RYX Client GUI"},
        {neutral, IDS_CONFIRM_QUIT, "Are you sure you want to quit?"},
    };
    for (const Case& c : cases) {
        const auto found = c.table.find(c.id);
        ASSERT_NE(c.table.end(), found) << "string " << c.id;
        EXPECT_EQ(c.text, utf8(found->second)) << "string " << c.id;
    }
}

TEST(StringTables, OnlyTheNeutralAndFrenchCanadianBlocksExist) {
    // A third language (say a neutral-neutral or US table) would win Wine's or Windows'
    // lookup over one of ours.
    const std::vector<WORD> blocks = string_blocks(self());
    ASSERT_FALSE(blocks.empty());
    const std::set<WORD> expected = {neutral_lang, french_canadian_lang};
    for (WORD block : blocks)
        EXPECT_EQ(expected, languages_of(self(), MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block)))
            << "string block " << block;
}

TEST(StringTables, LoadStringPicksTheInterfaceLanguage) {
    char text[256] = "";
    ASSERT_GT(LoadStringA(self(), IDS_QUIT_CAPTION, text, sizeof text), 0);
    const LANGID ui = GetUserDefaultUILanguage();
    EXPECT_STREQ(ui == french_canadian_lang ? "Quitter" : "Quit", text) << "interface " << ui;
}

// --- language-free resources ---

TEST(Resources, LanguageFreeOnesAreNeutralAndUnique) {
    struct Case {
        LPCSTR type;
        int id;
    };
    const Case cases[] = {
        {MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, IDI_APP},
        {MAKEINTRESOURCEA(14), IDI_STATUS_STOPPED},
        {MAKEINTRESOURCEA(14), IDI_STATUS_RUNNING},
        {MAKEINTRESOURCEA(14), IDI_STATUS_PENDING},
        {MAKEINTRESOURCEA(9) /* RT_ACCELERATOR */, IDR_ACCELERATORS},
        {MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1},
        {MAKEINTRESOURCEA(16) /* RT_VERSION */, 1},
    };
    for (const Case& c : cases) {
        const std::set<WORD> expected = {language_free};
        EXPECT_EQ(expected, languages_of(self(), c.type, MAKEINTRESOURCEA(c.id)))
            << "type " << reinterpret_cast<ULONG_PTR>(c.type) << " id " << c.id;
    }
}

TEST(Resources, TheProgramCarriesTheSameOnes) {
    const HMODULE program =
        LoadLibraryExA(program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program) << program_path();
    struct Case {
        LPCSTR type;
        int id;
        WORD lang;
    };
    const Case cases[] = {
        {MAKEINTRESOURCEA(14), IDI_APP, language_free},
        {MAKEINTRESOURCEA(14), IDI_STATUS_STOPPED, language_free},
        {MAKEINTRESOURCEA(14), IDI_STATUS_RUNNING, language_free},
        {MAKEINTRESOURCEA(14), IDI_STATUS_PENDING, language_free},
        {MAKEINTRESOURCEA(9), IDR_ACCELERATORS, language_free},
        {MAKEINTRESOURCEA(24), 1, language_free},
        {MAKEINTRESOURCEA(6), IDS_QUIT_CAPTION / 16 + 1, neutral_lang},
        {MAKEINTRESOURCEA(6), IDS_QUIT_CAPTION / 16 + 1, french_canadian_lang},
    };
    for (const Case& c : cases) {
        const auto mine = resource_bytes(self(), c.type, MAKEINTRESOURCEA(c.id), c.lang);
        EXPECT_FALSE(mine.empty()) << "id " << c.id;
        EXPECT_EQ(mine, resource_bytes(program, c.type, MAKEINTRESOURCEA(c.id), c.lang))
            << "id " << c.id;
    }
    FreeLibrary(program);
}

// --- icons ---

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colour_count, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupIconEntry> icon_group(int id) {
    const auto bytes =
        resource_bytes(self(), MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(id), language_free);
    std::vector<GroupIconEntry> entries;
    if (bytes.size() < 6)
        return entries;
    WORD count = 0;
    std::memcpy(&count, &bytes[4], 2);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= bytes.size(); ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, &bytes[6 + i * sizeof(GroupIconEntry)], sizeof entry);
        entries.push_back(entry);
    }
    return entries;
}

// An icon's colour and AND-mask pixels, top row first, 0x00RRGGBB.
struct IconPixels {
    int width = 0, height = 0;
    std::vector<DWORD> colour, mask;
    DWORD colour_at(int x, int y) const { return colour[static_cast<size_t>(y * width + x)]; }
    bool transparent_at(int x, int y) const {
        return (mask[static_cast<size_t>(y * width + x)] & 0xFFFFFF) == 0xFFFFFF &&
               (colour_at(x, y) & 0xFFFFFF) == 0;
    }
};

bool read_bitmap(HBITMAP bitmap, int width, int height, std::vector<DWORD>& out) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.assign(static_cast<size_t>(width * height), 0);
    const HDC dc = GetDC(nullptr);
    const int rows =
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return rows == height;
}

bool read_icon(HICON icon, IconPixels& out) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    bool ok = info.hbmColor != nullptr && info.hbmMask != nullptr;
    BITMAP colour = {};
    if (ok)
        ok = GetObjectA(info.hbmColor, sizeof colour, &colour) == sizeof colour;
    if (ok) {
        out.width = colour.bmWidth;
        out.height = colour.bmHeight;
        ok = read_bitmap(info.hbmColor, out.width, out.height, out.colour) &&
             read_bitmap(info.hbmMask, out.width, out.height, out.mask);
    }
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return ok;
}

enum Channel { high = 1, low = 0 };

struct StatusIconCase {
    int id;
    const char* name;
    Channel red, green, blue;
};

const StatusIconCase status_icons[] = {
    {IDI_STATUS_STOPPED, "stopped", high, low, low},
    {IDI_STATUS_RUNNING, "running", low, high, low},
    {IDI_STATUS_PENDING, "pending", high, high, low},
};

bool channel_is(DWORD value, Channel expected) {
    return expected == high ? value >= 150 : value <= 100;
}

TEST(StatusIcons, OneImageOf32PixelsIn256Colours) {
    for (const StatusIconCase& c : status_icons) {
        const auto entries = icon_group(c.id);
        ASSERT_EQ(1u, entries.size()) << c.name;
        EXPECT_EQ(32, entries[0].width) << c.name;
        EXPECT_EQ(32, entries[0].height) << c.name;
        EXPECT_EQ(8, entries[0].bit_count) << c.name;
        EXPECT_EQ(0, entries[0].colour_count) << c.name; // 0 stands for 256
    }
}

TEST(StatusIcons, ADiscOfItsColourOnATransparentGround) {
    for (const StatusIconCase& c : status_icons) {
        for (int size : {32, 16}) {
            const auto icon = static_cast<HICON>(
                LoadImageA(self(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(nullptr, icon) << c.name << " at " << size;
            IconPixels px;
            ASSERT_TRUE(read_icon(icon, px)) << c.name << " at " << size;
            DestroyIcon(icon);
            ASSERT_EQ(size, px.width) << c.name;
            ASSERT_EQ(size, px.height) << c.name;

            const DWORD centre = px.colour_at(size / 2, size / 2);
            EXPECT_FALSE(px.transparent_at(size / 2, size / 2)) << c.name << " at " << size;
            EXPECT_TRUE(channel_is((centre >> 16) & 0xFF, c.red) &&
                        channel_is((centre >> 8) & 0xFF, c.green) &&
                        channel_is(centre & 0xFF, c.blue))
                << c.name << " at " << size << ": centre " << std::hex << centre;

            const int last = size - 1;
            for (const POINT corner :
                 {POINT{0, 0}, POINT{last, 0}, POINT{0, last}, POINT{last, last}})
                EXPECT_TRUE(px.transparent_at(corner.x, corner.y))
                    << c.name << " at " << size << ": corner " << corner.x << "," << corner.y;

            // A disc covers pi / 4 of its square; a filled square or a ring would not.
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    opaque += px.transparent_at(x, y) ? 0 : 1;
            const double share = static_cast<double>(opaque) / (size * size);
            EXPECT_GT(share, 0.55) << c.name << " at " << size;
            EXPECT_LT(share, 0.82) << c.name << " at " << size;
        }
    }
}

TEST(StatusIcons, ShrinkTo16PixelsWithoutForeignColours) {
    // The program shows them at 16 x 16, shrunk by the system from the one 32 x 32 image:
    // every pixel there must be one of the image's own colours, not a blend or a black seam.
    for (const StatusIconCase& c : status_icons) {
        IconPixels px[2];
        const int sizes[2] = {32, 16};
        for (int i = 0; i < 2; ++i) {
            const auto icon = static_cast<HICON>(
                LoadImageA(self(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, sizes[i], sizes[i], 0));
            ASSERT_NE(nullptr, icon) << c.name;
            ASSERT_TRUE(read_icon(icon, px[i])) << c.name;
            DestroyIcon(icon);
            ASSERT_EQ(sizes[i], px[i].width) << c.name;
        }
        std::set<DWORD> own;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (!px[0].transparent_at(x, y))
                    own.insert(px[0].colour_at(x, y) & 0xFFFFFF);
        int foreign = 0;
        DWORD example = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const DWORD colour = px[1].colour_at(x, y) & 0xFFFFFF;
                if (!px[1].transparent_at(x, y) && own.count(colour) == 0) {
                    ++foreign;
                    example = colour;
                }
            }
        }
        EXPECT_EQ(0, foreign) << c.name << ", for instance " << std::hex << example;
    }
}

TEST(AppIcon, HasImagesOf32And48And64PixelsIn256Colours) {
    const auto entries = icon_group(IDI_APP);
    std::set<int> sizes;
    for (const GroupIconEntry& entry : entries) {
        sizes.insert(entry.width);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(8, entry.bit_count) << entry.width;
        EXPECT_EQ(0, entry.colour_count) << entry.width;

        // Each image, built on its own, has its own size and a see-through corner.
        auto bytes = resource_bytes(self(), MAKEINTRESOURCEA(3) /* RT_ICON */,
                                    MAKEINTRESOURCEA(entry.id), language_free);
        ASSERT_FALSE(bytes.empty()) << entry.width;
        const HICON icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()),
                                                    TRUE, 0x00030000, entry.width, entry.width, 0);
        ASSERT_NE(nullptr, icon) << entry.width;
        IconPixels px;
        ASSERT_TRUE(read_icon(icon, px)) << entry.width;
        DestroyIcon(icon);
        EXPECT_EQ(entry.width, px.width);
        EXPECT_TRUE(px.transparent_at(0, 0)) << entry.width;
        EXPECT_FALSE(px.transparent_at(entry.width / 2, entry.width / 2)) << entry.width;
    }
    EXPECT_EQ((std::set<int>{32, 48, 64}), sizes);
}

TEST(AppIcon, LoadsAsTheProgramAndTheSystemAskForIt) {
    struct Case {
        int width;
        const char* how;
    };
    const Case cases[] = {
        {32, "32 x 32"},
        {16, "16 x 16 (small class icon)"},
        {48, "48 x 48"},
        {64, "64 x 64"},
    };
    for (const Case& c : cases) {
        const auto icon = static_cast<HICON>(
            LoadImageA(self(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, c.width, c.width, 0));
        ASSERT_NE(nullptr, icon) << c.how;
        IconPixels px;
        ASSERT_TRUE(read_icon(icon, px)) << c.how;
        DestroyIcon(icon);
        EXPECT_EQ(c.width, px.width) << c.how;
        EXPECT_TRUE(px.transparent_at(0, 0)) << c.how;
    }
    // The class icon: LoadIconA takes the system's large size.
    const HICON icon = LoadIconA(self(), MAKEINTRESOURCEA(IDI_APP));
    ASSERT_NE(nullptr, icon);
    IconPixels px;
    ASSERT_TRUE(read_icon(icon, px));
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), px.width);
}

// --- manifest ---

// The one XML element that holds the marker, from its '<' to its '>'.
std::string element_with(const std::string& xml, const std::string& marker) {
    const size_t at = xml.find(marker);
    if (at == std::string::npos)
        return {};
    const size_t open = xml.rfind('<', at);
    const size_t close = xml.find('>', at);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    return xml.substr(open, close - open + 1);
}

TEST(Manifest, AsksForCommonControls6AndRunsAsInvoker) {
    const auto bytes =
        resource_bytes(self(), MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), language_free);
    ASSERT_FALSE(bytes.empty());
    const std::string xml(bytes.begin(), bytes.end());
    struct Case {
        const char* element;
        const char* attribute;
    };
    const Case cases[] = {
        {"\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\""},
        {"\"Microsoft.Windows.Common-Controls\"", "processorArchitecture=\"*\""},
        {"\"Microsoft.Windows.Common-Controls\"", "publicKeyToken=\"6595b64144ccf1df\""},
        {"\"Microsoft.Windows.Common-Controls\"", "type=\"win32\""},
        {"<requestedExecutionLevel", "level=\"asInvoker\""},
        {"<requestedExecutionLevel", "uiAccess=\"false\""},
    };
    for (const Case& c : cases) {
        const std::string element = element_with(xml, c.element);
        ASSERT_FALSE(element.empty()) << c.element;
        EXPECT_NE(std::string::npos, element.find(c.attribute)) << element;
    }
}

TEST(Manifest, TheSystemGivesThisProcessCommonControls6) {
    // The loader read this executable's manifest: its activation context sends comctl32.dll
    // to the side-by-side version 6 rather than the system32 version 5.
    ACTCTX_SECTION_KEYED_DATA redirect = {};
    redirect.cbSize = sizeof redirect;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &redirect))
        << GetLastError();

    const HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(nullptr, comctl);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, MAX_PATH);
    FreeLibrary(comctl);
    std::string lower(path);
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_NE(std::string::npos, lower.find("common-controls")) << path;
    EXPECT_NE(std::string::npos, lower.find("_6.0.")) << path;
}

// --- version ---

TEST(VersionInfo, ReadsBackFromTheProgramFile) {
    const std::string path = program_path();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    // The translation names the string block, as Explorer looks it up.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);
    const char hex[] = "0123456789ABCDEF";
    const unsigned code = (static_cast<unsigned>(translation[0]) << 16) | translation[1];
    std::string block = "\\StringFileInfo\\";
    for (int shift = 28; shift >= 0; shift -= 4)
        block += hex[(code >> shift) & 0xF];

    struct Case {
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"ProductName", "RYX Client GUI"},
        {"OriginalFilename", "ryxgui.exe"},
        {"FileVersion", "1.0.0.0"},
        {"ProductVersion", "1.0.0.0"},
    };
    for (const Case& c : cases) {
        char* value = nullptr;
        const std::string key = block + "\\" + c.key;
        ASSERT_TRUE(
            VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
            << key;
        EXPECT_STREQ(c.value, value) << key;
    }
    char* description = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), (block + "\\FileDescription").c_str(),
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_EQ(0, std::strncmp("RYX Client GUI", description, 14)) << description;
}

} // namespace
