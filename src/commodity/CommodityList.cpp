#include "CommodityList.h"

#include "CommodityColumns.h"
#include "common/DownloadGuard.h"
#include "common/Text.h"

#include <algorithm>

namespace korvan {
namespace {

const Tr kListFull{"商品数据不能超过2000", "Commodity data should not exceed 2000"};
const Tr kSaveCompleted{"数据保存完成", "Save completed"};
const Tr kNameEmpty{"商品名不能为空", "Commodity name can't be empty"};
const Tr kNotFound{"找不到该商品", "Can't find"};
const Tr kRowRefused{"第%1行, %2: %3。未下传任何数据", "Row %1, %2: %3. Nothing was sent"};

} // namespace

CommodityList::CommodityList(std::filesystem::path file)
    : file_(std::move(file)), lang_(Language::current()) {}

IoResult CommodityList::open() {
    lang_ = Language::current();
    auto loaded = CommodityFile::load(file_);
    rows_ = std::move(loaded.value);
    loadFailure_ = loaded.result;
    working_ = CommodityRecord{};
    clearChosen();
    family_ = ModelFamily::Vamo;
    modified_ = false;
    return loadFailure_;
}

void CommodityList::clearChosen() {
    chosen_ = false;
    chosenIndex_ = 0;
}

void CommodityList::click(const std::vector<std::size_t>& selected) {
    if (rows_.empty()) {
        clearChosen();
        return;
    }
    std::size_t lowest = rows_.size();
    for (std::size_t i : selected)
        lowest = std::min(lowest, i);
    if (lowest == rows_.size())
        return;
    chosen_ = true;
    chosenIndex_ = lowest;
    working_ = rows_[lowest];
}

IoResult CommodityList::find() {
    chosen_ = false;
    if (working_.name.empty())
        return IoResult::failed(kNameEmpty.get(lang_));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name == working_.name) {
            working_ = rows_[i];
            chosenIndex_ = i;
            chosen_ = true;
            return {};
        }
    }
    return IoResult::failed(kNotFound.get(lang_));
}

void CommodityList::doubleClick(const std::vector<std::size_t>& selected) {
    std::size_t highest = rows_.size();
    for (std::size_t i : selected) {
        if (i < rows_.size() && (highest == rows_.size() || i > highest))
            highest = i;
    }
    if (highest < rows_.size()) {
        working_ = rows_[highest];
        chosen_ = true;
        chosenIndex_ = highest;
        return;
    }
    working_ = CommodityRecord::newRecord();
    clearChosen();
}

IoResult CommodityList::startNew() {
    if (rows_.size() >= kMaxRows)
        return IoResult::failed(kListFull.get(lang_));
    if (!chosen_)
        working_ = CommodityRecord::newRecord();
    clearChosen();
    return {};
}

void CommodityList::deleteSelected(const std::vector<std::size_t>& selected) {
    std::vector<bool> doomed(rows_.size(), false);
    for (std::size_t i : selected) {
        if (i < rows_.size())
            doomed[i] = true;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!doomed[i]) {
            if (kept != i)
                rows_[kept] = std::move(rows_[i]);
            ++kept;
        }
    }
    rows_.resize(kept);
    modified_ = true;
}

void CommodityList::deleteAll() {
    rows_.clear();
    modified_ = true;
}

bool CommodityList::takeRows(std::vector<CommodityRecord> rows) {
    if (!loadFailure_.ok())
        return false;
    rows_ = std::move(rows);
    clearChosen();
    modified_ = true;
    return true;
}

TrackedFile::Saved CommodityList::writeFile() {
    // After a failed read the file's content is unknown: writing the list would replace it.
    if (!loadFailure_.ok())
        return {loadFailure_};
    TrackedFile::Saved saved = file_.saveLines(CommodityFile::lines(rows_), lang_);
    if (saved.reload)
        saved.result = open();
    return saved;
}

TrackedFile::Saved CommodityList::save() {
    TrackedFile::Saved saved = writeFile();
    if (!saved.written || rows_.empty())
        return saved;
    saved.note = kSaveCompleted.get(lang_);
    modified_ = false;
    return saved;
}

IoResult CommodityList::readyForDownload() const {
    if (const IoResult guarded = DownloadGuard::check(loadFailure_, modified_, lang_); !guarded)
        return guarded;
    const std::string refusal = downloadRefusal();
    return refusal.empty() ? IoResult{} : IoResult::failed(refusal);
}

std::string CommodityList::downloadRefusal() const {
    // The short frame carries the name and the price alone.
    std::vector<CommodityField> sent{CommodityField::UnitPrice};
    if (family_ == ModelFamily::Vamo)
        sent.insert(sent.end(), {CommodityField::Tare, CommodityField::ShelfLife,
                                 CommodityField::DiscountRate});
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        for (CommodityField field : sent) {
            const auto failed = CommodityValidation::numberFailure(field, rows_[row].cell(field));
            if (failed)
                return Text::fillIn(kRowRefused.get(lang_),
                                    {std::to_string(row + 1),
                                     CommodityColumns::of(field).header.get(lang_),
                                     CommodityValidation::message(*failed).get(lang_)});
        }
    }
    return {};
}

JobRequest CommodityList::downloadRequest() const {
    CommodityPayload commodities{.rows = {}, .family = family_};
    commodities.rows.reserve(rows_.size());
    for (const CommodityRecord& record : rows_)
        commodities.rows.push_back(record.downloadRow());
    return {std::move(commodities)};
}

IoResult CommodityList::editorRefusal(const CommodityForm& form) const {
    const auto mode =
        editorUpdates() ? CommodityValidation::Mode::Updating : CommodityValidation::Mode::Adding;
    if (auto failed = CommodityValidation::firstFailure(form, mode, rows_.size()))
        return IoResult::failed(CommodityValidation::message(*failed).get(lang_));
    return {};
}

CommodityList::EditorSave CommodityList::saveFromEditor(const CommodityForm& form) {
    if (!editorRefusal(form))
        return editorUpdates() ? EditorSave{} : writeFromEditor();
    if (editorUpdates())
        rows_[chosenIndex_] = form.toRecord();
    else
        rows_.push_back(form.toRecord());
    working_ = CommodityRecord::newRecord();
    clearChosen();
    modified_ = true;
    return writeFromEditor();
}

CommodityList::EditorSave CommodityList::writeFromEditor() {
    if (!modified_)
        return {};
    EditorSave outcome;
    outcome.close = true;
    const TrackedFile::Saved saved = writeFile();
    outcome.write = saved.result;
    if (saved.written && !rows_.empty())
        modified_ = false;
    return outcome;
}

} // namespace korvan
