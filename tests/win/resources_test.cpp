// The resources as Windows loads them: both string tables, the icons, the manifest and the
// version record. This test executable links the same resource script as ryxgui.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/message_box.h"
#include "e2e/program_driver.h"
#include "res/resource.h"

namespace {

const WORD neutral_lang = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
const WORD french_lang = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN);
const WORD language_free = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

std::string resource_bytes(LPCSTR type, int id, WORD lang) {
    const HMODULE self = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceExA(self, type, MAKEINTRESOURCEA(id), lang);
    const auto* data =
        found ? static_cast<const char*>(LockResource(LoadResource(self, found))) : nullptr;
    return data ? std::string(data, SizeofResource(self, found)) : std::string();
}

// Every string of one language with an id below 4096: block n holds the ids (n - 1) * 16 to
// (n - 1) * 16 + 15 as counted UTF-16 strings, a length of 0 for an absent id.
std::map<int, std::wstring> string_table(WORD lang) {
    std::map<int, std::wstring> table;
    for (int block = 1; block <= 256; ++block) {
        const std::string bytes = resource_bytes(MAKEINTRESOURCEA(6) /* RT_STRING */, block, lang);
        const auto* text = reinterpret_cast<const wchar_t*>(bytes.data());
        const size_t chars = bytes.size() / 2;
        for (size_t i = 0, at = 0; i < 16 && at < chars; ++i, at += 1 + text[at])
            if (text[at] != 0 && at + 1 + text[at] <= chars)
                table[(block - 1) * 16 + static_cast<int>(i)] =
                    std::wstring(text + at + 1, text[at]);
    }
    return table;
}

TEST(StringTables, SameIdsInBothLanguagesDifferingOnlyWhereTranslated) {
    auto neutral = string_table(neutral_lang);
    auto french = string_table(french_lang);
    ASSERT_GT(neutral.size(), 10u); // the table was found at all
    EXPECT_EQ(L"Quit", neutral[IDS_QUIT_CAPTION]);
    EXPECT_EQ(L"Quitter", french[IDS_QUIT_CAPTION]);
    EXPECT_EQ(L"Tout s\u00e9lectionner", french[IDS_SELECT_ALL]); // read in the right code page
    // Every French user interface finds the same table under its own language.
    for (const WORD country : {SUBLANG_FRENCH, SUBLANG_FRENCH_BELGIAN, SUBLANG_FRENCH_SWISS,
                               SUBLANG_FRENCH_LUXEMBOURG, SUBLANG_FRENCH_MONACO})
        EXPECT_TRUE(string_table(MAKELANGID(LANG_FRENCH, country)) == french) << country;
    for (const int translated : {IDS_QUIT_CAPTION, IDS_COPY, IDS_SELECT_ALL, IDS_OPEN_LOG_FILE}) {
        EXPECT_TRUE(neutral.count(translated) && french.count(translated) &&
                    neutral[translated] != french[translated])
            << translated;
        neutral.erase(translated);
        french.erase(translated);
    }
    EXPECT_TRUE(neutral == french) << neutral.size() << " neutral, " << french.size() << " French";
}

TEST(ErrorBoxes, SayWhatWouldHelpWhereRightsAreMissing) {
    char text[1024];
    compose_error_text(IDS_ERR_START_FAILED, ERROR_ACCESS_DENIED, text, sizeof text);
    const std::string denied = text;
    EXPECT_EQ(0u, denied.find("The RYX service could not be started.\n")) << denied;
    EXPECT_NE(std::string::npos, denied.find("\nStarting and stopping the RYX service needs "
                                             "administrative rights."))
        << denied;
    compose_error_text(IDS_ERR_STOP_FAILED, ERROR_FILE_NOT_FOUND, text, sizeof text);
    EXPECT_EQ(std::string::npos, std::string(text).find("administrative")) << text;
}

TEST(Manifest, AsksForCommonControls6AndRunsAsInvoker) {
    const std::string xml = resource_bytes(MAKEINTRESOURCEA(24), 1, language_free);
    // The element that holds the marker, from its '<' to its '>'.
    const auto element = [&xml](const char* marker) {
        const size_t at = xml.find(marker), open = xml.rfind('<', at), close = xml.find('>', at);
        return at == std::string::npos ? std::string() : xml.substr(open, close - open + 1);
    };
    EXPECT_NE(std::string::npos,
              element("\"Microsoft.Windows.Common-Controls\"").find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, element("<requestedExecutionLevel").find("level=\"asInvoker\""));
    // Windows would stretch a window that does not say it scales itself; Wine never does.
    EXPECT_NE(std::string::npos, xml.find(">PerMonitorV2, PerMonitor</dpiAwareness>"));
    EXPECT_NE(std::string::npos,
              element("\"Quorix.RYX.ClientGUI\"").find("version=\"" RYX_PROJECT_VERSION ".0\""));
    // The loader understood it: this process's activation context redirects comctl32.dll.
    ACTCTX_SECTION_KEYED_DATA redirect = {};
    redirect.cbSize = sizeof redirect;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &redirect));
}

// Both programs carry the project's version, set once in CMake (RYX_PROJECT_VERSION).
TEST(VersionInfo, ReadsBackTheProjectVersionFromBothPrograms) {
    for (const char* program : {"ryxgui.exe", "ryxc-demo.exe"}) {
        const std::string path = executable_directory() + "\\" + program;
        DWORD ignored = 0;
        std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(data.empty()) << path;
        ASSERT_TRUE(
            GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        WORD* translation = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                      LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
        EXPECT_STREQ(RYX_PROJECT_VERSION, numbers) << program;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &length));
        // The strings are found through the translation, as Explorer looks them up.
        for (const auto& [field, expected] : {std::pair{"ProductVersion", RYX_PROJECT_VERSION ".0"},
                                              std::pair{"ProductName", "RYX Client GUI"}}) {
            char key[64], *text = nullptr;
            std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                          translation[1], field);
            ASSERT_TRUE(VerQueryValueA(data.data(), key, reinterpret_cast<void**>(&text), &length));
            EXPECT_STREQ(expected, text) << program << " " << field;
        }
    }
}

} // namespace
