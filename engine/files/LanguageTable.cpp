#include "engine/files/LanguageTable.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"

namespace {

enum DclStringType : int32_t {
    kDclNarrowTexts = 0,
    kDclWideTexts = 1,
};

// After the magic: the two unused fields, the string type and the count.
constexpr int32_t kDclHeadBytes = 16;
// Each entry holds at least its key and its text's length.
constexpr int32_t kDclEntryBytes = 8;

// Undoes the running difference the texts are stored with: each unit is
// flipped on even positions and has the previous decoded unit subtracted,
// starting from the (flipped) last unit. Mask keeps the unit size.
template <class Unit>
WideString DecodeRunningDifference(const WideString& text, Unit flip)
{
    const size_t length = text.size();
    WideString result(length, L'\0');
    if (length == 0) {
        return result;
    }
    Unit previous = static_cast<Unit>(text.back());
    if ((length - 1) % 2 == 0) {
        previous = static_cast<Unit>(flip - previous);
    }
    for (size_t i = 0; i < length; ++i) {
        Unit value = static_cast<Unit>(text[i]);
        if (i % 2 == 0) {
            value = static_cast<Unit>(flip - value);
        }
        value = static_cast<Unit>(value - previous);
        previous = value;
        result[i] = static_cast<wchar_t>(value);
    }
    return result;
}

} // namespace

WideString DecodeDclText(const WideString& text)
{
    WideString result = DecodeRunningDifference<uint8_t>(text, 255);
    // 8-bit texts widen with sign extension, as the stream's text reader does.
    for (wchar_t& c : result) {
        c = static_cast<wchar_t>(static_cast<int16_t>(static_cast<int8_t>(c)));
    }
    return result;
}

WideString DecodeDclWideText(const WideString& text)
{
    return DecodeRunningDifference<uint16_t>(text, 65535);
}

bool LoadLanguageFile(const WideString& fileName, TextMap& texts)
{
    std::unique_ptr<Stream> in = OpenFile(fileName);
    char magic[3] = {};
    in->Read(magic, 3);
    if (magic[0] != 'D' || magic[1] != 'C' || magic[2] != '2') {
        LogHub::Printf("%s is NOT a DCL File", fileName.c_str());
        return false;
    }
    if (in->Remaining() < kDclHeadBytes) {
        in->ReportErrors();
        return false;
    }
    in->ReadInt32();
    in->ReadInt32();
    const int32_t stringType = in->ReadInt32();
    if (stringType != kDclNarrowTexts && stringType != kDclWideTexts) {
        return true;
    }
    // A count of 0 or less is how the format says "no entries".
    const int32_t storedCount = in->ReadInt32();
    if (storedCount <= 0) {
        return true;
    }
    const int32_t count = in->FitCount(storedCount, kDclEntryBytes);
    TextMap loaded;
    for (int32_t i = 0; i < count; ++i) {
        // The texts are longer than the count allowed for: the file ends first.
        int32_t key = 0;
        if (in->Remaining() < kDclEntryBytes || in->Read(&key, sizeof key) != static_cast<int32_t>(sizeof key)) {
            in->ReportErrors();
            break;
        }
        const WideString text = stringType == kDclNarrowTexts ? DecodeDclText(in->ReadText())
                                                             : DecodeDclWideText(in->ReadWideText());
        loaded.emplace(key, WideStringTrimRight(text));
    }
    // Assigning keeps every text handed out before valid: the map's nodes stay.
    for (auto& [key, text] : loaded) {
        texts[key] = std::move(text);
    }
    return true;
}

void LanguageTable::FindLanguageFiles()
{
    files_.clear();
    for (const WideString& name : ListFiles(L"Misc\\*.DCL")) {
        WideString path;
        files_.push_back(FormatWideString(path, "Misc\\%s", name.c_str()));
    }
}

void LanguageTable::SelectLanguage(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(files_.size())) {
        return;
    }
    LoadLanguageFile(files_[index], texts_);
    LogHub::PrintVerbose("ENGINE: Language = %s", files_[index].c_str());
}

bool LanguageTable::SelectLanguageByName(const WideString& name)
{
    WideString wanted = name;
    WideStringToUpper(wanted);
    for (size_t i = 0; i < files_.size(); ++i) {
        WideString path = files_[i];
        WideStringToUpper(path);
        const int32_t titleStart = WideStringFindLastChar(path, L'\\', 1) + 1;
        const WideString title = WideStringSubstr(path, titleStart, WideStringFindLastChar(path, L'.', 1) - titleStart);
        if (wanted == title || wanted == path) {
            SelectLanguage(static_cast<int32_t>(i));
            return true;
        }
    }
    return false;
}

const WideString& LanguageTable::GetText(int32_t key)
{
    auto found = texts_.find(key);
    if (found != texts_.end()) {
        return found->second;
    }
    LogHub::PrintWarning("dcEngine: Requested key %d is not in language", key);
    WideString placeholder;
    FormatWideString(placeholder, "Undefined key ^1%d^7", key);
    return texts_.emplace(key, placeholder).first->second;
}
