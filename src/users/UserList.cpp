#include "UserList.h"

#include "common/Prompt.h"

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

bool UserList::add(const std::string& name, const std::string& password) {
    if (rows_.size() >= UserFile::kMaxUsers) {
        Prompt::showMessage(kTooMany.get(lang_));
        return false;
    }
    if (name.empty()) {
        Prompt::showMessage(kEmptyName.get(lang_));
        return false;
    }
    rows_.push_back(User{name, password});
    return true;
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

bool UserList::save() {
    if (!loadFailure_) {
        Prompt::showMessage(loadFailure_.message());
        return false;
    }
    if (!UserFile::anyoneCanLogIn(rows_) && !Prompt::ask(kNobody.get(lang_)))
        return false;
    const TrackedFile::Saved saved =
        file_.saveLines(UserFile::lines(rows_), lang_, UserFile::kMode);
    if (saved.reload) {
        load();
        if (!loadFailure_)
            Prompt::showMessage(loadFailure_.message());
        return false;
    }
    if (!saved.result) {
        Prompt::showMessage(saved.result.message());
        return false;
    }
    if (!saved.written)
        return false;
    stored_ = rows_;
    Prompt::showMessage(kSaved.get(lang_));
    return true;
}

} // namespace korvan
