#include "UserList.h"

namespace korvan {
namespace {
const Tr kTooMany{"用户数量不能超过5个", "No more than 5 users"};
const Tr kEmptyName{"用户名不能为空", "User name cannot be empty"};
const Tr kSaved{"数据保存完成", "Save completed"};
const Tr kNobody{"列表中没有用户名, 保存后下次启动将无人能登录, 需重新创建第一个用户. 仍要保存吗?",
                 "No user in the list has a name: after saving, nobody can log in at the next "
                 "start, and a first user must be created again. Save anyway?"};
} // namespace

UserList::UserList(std::filesystem::path file, Lang lang) : file_(std::move(file)), lang_(lang) {
    load();
}

void UserList::load() {
    auto loaded = UserFile::read(file_);
    rows_ = std::move(loaded.value);
    stored_ = rows_;
    loadFailure_ = loaded.result;
    chosen_ = false;
    chosenIndex_ = 0;
}

const User* UserList::chosen() const {
    if (!chosen_ || chosenIndex_ >= rows_.size())
        return nullptr;
    return &rows_[chosenIndex_];
}

void UserList::click(const std::set<std::size_t>& selected) {
    for (std::size_t row : selected) {
        if (row < rows_.size()) {
            chosen_ = true;
            chosenIndex_ = row;
            return;
        }
    }
    chosen_ = false;
    chosenIndex_ = 0;
}

void UserList::editName(const std::string& name) {
    if (chosen_ && chosenIndex_ < rows_.size())
        rows_[chosenIndex_].name = name;
}

void UserList::editPassword(const std::string& password) {
    if (chosen_ && chosenIndex_ < rows_.size())
        rows_[chosenIndex_].password = password;
}

IoResult UserList::add(const std::string& name, const std::string& password) {
    if (rows_.size() >= UserFile::kMaxUsers)
        return IoResult::failed(kTooMany.get(lang_));
    if (name.empty())
        return IoResult::failed(kEmptyName.get(lang_));
    rows_.push_back(User{name, password});
    return {};
}

void UserList::remove(const std::set<std::size_t>& selected) {
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if (*it < rows_.size())
            rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
    if (!selected.empty()) {
        chosen_ = false;
        chosenIndex_ = 0;
    }
}

std::string UserList::saveQuestion() const {
    if (!loadFailure_ || UserFile::anyoneCanLogIn(rows_))
        return {};
    return kNobody.get(lang_);
}

TrackedFile::Saved UserList::save() {
    if (!loadFailure_)
        return {loadFailure_};
    TrackedFile::Saved saved = file_.saveLines(UserFile::lines(rows_), lang_, UserFile::kMode);
    if (saved.reload) {
        load();
        saved.result = loadFailure_;
        return saved;
    }
    if (!saved.written)
        return saved;
    stored_ = rows_;
    saved.note = kSaved.get(lang_);
    return saved;
}

} // namespace korvan
