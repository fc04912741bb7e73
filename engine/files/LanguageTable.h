#pragma once
// The texts of the selected language by int32 key: menu texts, the font face,
// vehicle figures and content switches. The texts come from the language
// files "Misc\*.DCL"; a text handed out stays valid for the whole run.

#include "engine/files/WideString.h"

#include <cstdint>
#include <map>
#include <vector>

using TextMap = std::map<int32_t, WideString>;

// The reversible transforms the texts are stored with.
WideString DecodeDclText(const WideString& text);
WideString DecodeDclWideText(const WideString& text);

// Reads one .DCL file into the map; its texts replace those of the same keys,
// and a key the file holds twice keeps its first text. False when the file is
// missing, no .DCL file or cut short in its header (logged).
bool LoadLanguageFile(const WideString& fileName, TextMap& texts);

class LanguageTable {
public:
    // Lists "Misc\*.DCL", sorted, as the languages to choose from.
    void FindLanguageFiles();
    // An index beyond the list is ignored.
    void SelectLanguage(int32_t index);
    // Matches the file title ("English" selects "Misc\English.DCL") or the
    // whole path, ignoring case; false, and no change, when none matches.
    bool SelectLanguageByName(const WideString& name);

    // A missing key is reported once and shows "Undefined key ^1<key>^7".
    const WideString& GetText(int32_t key);

    const std::vector<WideString>& GetFiles() const { return files_; }

private:
    TextMap texts_;
    std::vector<WideString> files_;
};
