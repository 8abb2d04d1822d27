// The resources as Windows loads them: both string tables. This test executable links the same
// resource script as ryxgui.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

// Every string of one language with an id below 4096: block n holds the ids (n - 1) * 16 to
// (n - 1) * 16 + 15 as counted UTF-16 strings, a length of 0 for an absent id.
std::map<int, std::wstring> string_table(WORD lang) {
    std::map<int, std::wstring> table;
    const HMODULE self = GetModuleHandleA(nullptr);
    for (int block = 1; block <= 256; ++block) {
        const HRSRC found = FindResourceExA(self, RT_STRING, MAKEINTRESOURCEA(block), lang);
        const auto* text = static_cast<const wchar_t*>(LockResource(LoadResource(self, found)));
        const size_t chars = text != nullptr ? SizeofResource(self, found) / 2 : 0;
        for (size_t i = 0, at = 0; i < 16 && at < chars; ++i, at += 1 + text[at])
            if (text[at] != 0 && at + 1 + text[at] <= chars)
                table[(block - 1) * 16 + static_cast<int>(i)] =
                    std::wstring(text + at + 1, text[at]);
    }
    return table;
}

const auto neutral = string_table(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
const auto french = string_table(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN));

TEST(StringTables, SameIdsInBothLanguagesAndFrenchThroughout) {
    ASSERT_GT(neutral.size(), 10u); // the table was found at all
    // Read in the right code page, with the no-break space that French puts before a colon.
    EXPECT_EQ(L"Voulez-vous vraiment quitter\u00a0?", french.at(IDS_CONFIRM_QUIT));
    // Only the product's name and the client's keywords read the same in both.
    const std::set<int> names = {IDS_APP_TITLE,  IDS_AUTH_ANY,      IDS_AUTH_DIGEST_MD5,
                                 IDS_AUTH_PLAIN, IDS_AUTH_PASS_DSS, IDS_MODE_V6ANYV4,
                                 IDS_MODE_V6V4,  IDS_MODE_V6UDPV4,  IDS_MODE_V4V6};
    EXPECT_EQ(neutral.size(), french.size());
    for (const auto& [id, english] : neutral) {
        const auto found = french.find(id);
        ASSERT_NE(french.end(), found) << id;
        EXPECT_EQ(names.count(id) != 0, english == found->second) << id;
        // A plain space would let the line break before the sign.
        for (size_t at = found->second.find_first_of(L":?!"); at != std::wstring::npos;
             at = found->second.find_first_of(L":?!", at + 1))
            EXPECT_TRUE(at > 0 && found->second[at - 1] == L'\u00a0') << id << " at " << at;
    }
}

// The keys that a text's lone "&"s mark, in lower case; "&&" shows an "&" and marks nothing.
std::wstring access_keys(const std::wstring& text) {
    std::wstring keys;
    for (size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 2)) {
        wchar_t key = at + 1 < text.size() ? text[at + 1] : L'\0';
        if (key != L'&') {
            CharLowerBuffW(&key, 1); // whatever the locale: "\u00c9" and "\u00e9" are one key
            keys += key;
        }
    }
    return keys;
}

// What each window and menu shows that the keyboard reaches through an access key. The two
// pages of the main window take their keys from one pool: Alt+key works from either.
const struct {
    const char* name;
    std::vector<int> ids;
} keyed_windows[] = {
    {"main window",
     {IDS_START, IDS_STOP, IDS_SERVER_LABEL, IDS_AUTHENTICATION, IDS_ANONYMOUS, IDS_USERNAME_LABEL,
      IDS_PASSWORD_LABEL, IDS_APPLY, IDS_DEFAULT, IDS_CANCEL, IDS_ADVANCED, IDS_CLEAR,
      IDS_FIND_LABEL}},
    {"Advanced window",
     {IDS_CANCEL, IDS_OK, IDS_AUTH_METHOD_LABEL, IDS_TUNNEL_MODE_LABEL, IDS_CLIENT_ADDRESS_LABEL,
      IDS_KEEPALIVE, IDS_KEEPALIVE_INTERVAL_LABEL, IDS_REQUEST_PREFIX, IDS_PREFIX_GROUP,
      IDS_PREFIX_LENGTH_LABEL, IDS_RTADV_INTERFACE_LABEL, IDS_DNS_SERVER_LABEL}},
    {"log list menu", {IDS_COPY, IDS_SELECT_ALL, IDS_OPEN_LOG_FILE, IDS_FIND, IDS_SAVE_LOG_AS}},
    {"notification area menu",
     {IDS_TRAY_OPEN, IDS_START, IDS_STOP, IDS_OPEN_LOG_FILE, IDS_TRAY_START_WITH_WINDOWS,
      IDS_TRAY_NOTIFY, IDS_TRAY_MINIMISE, IDS_TRAY_QUIT}},
};

TEST(StringTables, OneAccessKeyPerControlAndMenuItemUniqueInItsWindowInEachLanguage) {
    for (const auto* table : {&neutral, &french}) {
        const char* language = table == &neutral ? "English" : "French";
        std::set<int> keyed;
        for (const auto& window : keyed_windows) {
            std::map<wchar_t, int> taken;
            for (const int id : window.ids) {
                keyed.insert(id);
                const std::wstring keys = access_keys(table->at(id));
                EXPECT_EQ(1u, keys.size()) << language << " " << id;
                if (!keys.empty() && !taken.emplace(keys[0], id).second)
                    ADD_FAILURE() << language << " " << window.name << ": " << id << " and "
                                  << taken[keys[0]] << " share a key";
            }
        }
        // Labels of nothing, tabs, list items, captions, tooltips, notifications: none.
        for (const auto& [id, text] : *table)
            EXPECT_TRUE(keyed.count(id) != 0 || access_keys(text).empty()) << language << " " << id;
    }
}

} // namespace
