// The resources as Windows loads them: both string tables. This test executable links the same
// resource script as ryxgui.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "base/message_box.h"
#include "res/resource.h"

namespace {

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
        const std::string bytes = resource_bytes(RT_STRING, block, lang);
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
    auto neutral = string_table(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    auto french = string_table(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN));
    ASSERT_GT(neutral.size(), 10u);                               // the table was found at all
    EXPECT_EQ(L"Tout s\u00e9lectionner", french[IDS_SELECT_ALL]); // read in the right code page
    // Every French user interface finds the same table under its own language.
    for (const WORD country : {SUBLANG_FRENCH, SUBLANG_FRENCH_BELGIAN, SUBLANG_FRENCH_SWISS,
                               SUBLANG_FRENCH_LUXEMBOURG, SUBLANG_FRENCH_MONACO})
        EXPECT_TRUE(string_table(MAKELANGID(LANG_FRENCH, country)) == french) << country;
    for (const int translated : {IDS_QUIT_CAPTION, IDS_COPY, IDS_SELECT_ALL, IDS_OPEN_LOG_FILE}) {
        EXPECT_TRUE(neutral.count(translated) && french.count(translated) &&
                    neutral[translated] != french[translated])
            << translated;
        french[translated] = neutral[translated];
    }
    EXPECT_TRUE(neutral == french) << neutral.size() << " neutral, " << french.size() << " French";
}

TEST(ErrorBoxes, AddThatAdministrativeRightsAreNeededWhereAccessIsDenied) {
    char text[1024];
    compose_error_text(IDS_ERR_START_FAILED, ERROR_ACCESS_DENIED, text, sizeof text);
    EXPECT_NE(nullptr, std::strstr(text, "\nStarting and stopping the RYX service needs "
                                         "administrative rights."))
        << text;
}

} // namespace
