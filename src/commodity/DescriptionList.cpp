#include "DescriptionList.h"

#include "common/DownloadGuard.h"

#include <algorithm>

namespace korvan {
namespace {

const Tr kSaveCompleted{"保存完成", "Save completed"};

} // namespace

DescriptionList::DescriptionList(std::filesystem::path file)
    : file_(std::move(file)), lang_(Language::current()) {}

IoResult DescriptionList::open() {
    lang_ = Language::current();
    auto loaded = DescriptionFile::load(file_);
    rows_ = std::move(loaded.value);
    loadFailure_ = loaded.result;
    chosen_ = false;
    chosenIndex_ = 0;
    modified_ = false;
    numberLabel_.assign(1, '0'); // not a literal assignment: GCC 12 warns falsely (-Wrestrict)
    return loadFailure_;
}

void DescriptionList::click(const std::vector<std::size_t>& selected) {
    if (rows_.empty()) {
        chosen_ = false;
        chosenIndex_ = 0;
        return;
    }
    std::size_t lowest = rows_.size();
    for (std::size_t i : selected)
        lowest = std::min(lowest, i);
    if (lowest == rows_.size())
        return;
    chosen_ = true;
    chosenIndex_ = lowest;
    numberLabel_ = rows_[lowest].number;
}

void DescriptionList::textEdited(std::string text) {
    if (!chosen_ || chosenIndex_ >= rows_.size())
        return;
    rows_[chosenIndex_].text = std::move(text);
    modified_ = true;
}

TrackedFile::Saved DescriptionList::save() {
    // After a failed read the file's content is unknown: writing the list would replace it.
    if (!loadFailure_.ok())
        return {loadFailure_};
    TrackedFile::Saved saved = file_.saveLines(DescriptionFile::lines(rows_), lang_);
    if (saved.reload)
        return {open(), false, true};
    if (!saved.written || rows_.empty())
        return saved;
    saved.note = kSaveCompleted.get(lang_);
    modified_ = false;
    return saved;
}

IoResult DescriptionList::readyForDownload() const {
    return DownloadGuard::check(loadFailure_, modified_, lang_);
}

JobRequest DescriptionList::downloadRequest() const {
    DescriptionPayload descriptions;
    descriptions.rows.reserve(rows_.size());
    for (const DescriptionEntry& entry : rows_)
        descriptions.rows.push_back({entry.number, entry.text});
    return {std::move(descriptions)};
}

} // namespace korvan
