#include "support/fakes.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/utf.h"

namespace tastomat::test {
namespace {

std::string strip_trailing_backslash(std::string p) {
    while (p.size() > 1 && p.back() == '\\') p.pop_back();
    return p;
}

std::string parent_of(const std::string& p) {
    const auto pos = p.find_last_of('\\');
    if (pos == std::string::npos) return {};
    return p.substr(0, pos);
}

}  // namespace

std::string FakeFileSystem::key(const std::string& path) {
    return strip_trailing_backslash(ascii_upper(path));
}

void FakeFileSystem::add_file(const std::string& path, const std::string& content) {
    files[key(path)] = content;
    const std::string parent = parent_of(key(path));
    if (!parent.empty()) add_dir(parent);
}

void FakeFileSystem::add_dir(const std::string& path) {
    std::string k = key(path);
    while (!k.empty()) {
        dirs.insert(k);
        k = parent_of(k);
    }
}

std::string FakeFileSystem::content(const std::string& path) const {
    const auto it = files.find(key(path));
    return it == files.end() ? std::string() : it->second;
}

bool FakeFileSystem::has_file(const std::string& path) const { return files.count(key(path)) != 0; }

std::optional<std::string> FakeFileSystem::read_file(const std::string& path) {
    if (unreadable.count(key(path))) throw FileError("Cannot open file \"" + path + "\".");
    const auto it = files.find(key(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
}

void FakeFileSystem::replace_file(const std::string& path, const std::string& bytes) {
    if (fail_writes || !dirs.count(parent_of(key(path))))
        throw FileError("Cannot create file \"" + path + "\".");
    ++writes;
    files[key(path)] = bytes;
}

bool FakeFileSystem::file_exists(const std::string& path) {
    if (on_probe) on_probe(path);
    return files.count(key(path)) != 0;
}

bool FakeFileSystem::directory_exists(const std::string& path) {
    if (on_probe) on_probe(path);
    return dirs.count(key(path)) != 0;
}

bool FakeFileSystem::create_directories(const std::string& path) {
    add_dir(path);
    return true;
}

bool FakeFileSystem::copy_file(const std::string& from, const std::string& to) {
    const auto it = files.find(key(from));
    if (it == files.end() || !dirs.count(parent_of(key(to)))) return false;
    files[key(to)] = it->second;
    return true;
}

int FakeDrives::drive_type(const std::string& root) const {
    queried.push_back(root);
    if (root.size() != 2 || root[1] != ':') return 1;
    const auto it = types.find(ascii_upper(root)[0]);
    return it == types.end() ? 1 : it->second;
}

unsigned FakeDrives::set_error_mode(unsigned mode) {
    modes_set.push_back(mode);
    const unsigned previous = error_mode;
    error_mode = mode;
    return previous;
}

bool FakeDriveProbes::file_exists(const std::string& path) const {
    return held(path, files.has_file(path));
}

bool FakeDriveProbes::directory_exists(const std::string& path) const {
    return held(path, files.dirs.count(FakeFileSystem::key(path)) != 0);
}

bool FakeDriveProbes::held(const std::string& path, bool answer) const {
    const char letter = path.size() >= 2 && path[1] == ':' ? ascii_upper(path.substr(0, 1))[0] : 0;
    const auto it = answers.find(letter);
    if (it == answers.end() || it->second == Answer::at_once) return answer;
    if (it->second == Answer::slow) {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        return answer;
    }
    std::unique_lock lock(mutex_);
    // A drive that never answers keeps its worker here until the process ends.
    changed_.wait(lock, [&] { return it->second == Answer::late && released_; });
    ++late_answers_;
    changed_.notify_all();
    return answer;
}

bool FakeDriveProbes::release_late(int expected_answers) {
    std::unique_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
    return changed_.wait_for(lock, std::chrono::seconds(30),
                             [&] { return late_answers_ >= expected_answers; });
}

void QueuedWindowThread::post(std::function<void()> task) {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    tasks_.push_back(std::move(task));
    ++posts_;
    posted_.notify_all();
}

bool QueuedWindowThread::wait_for_posts(int count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, timeout, [&] { return posts_ >= count; });
}

int QueuedWindowThread::run_pending() {
    std::vector<std::function<void()>> tasks;
    {
        const std::lock_guard lock(mutex_);
        tasks.swap(tasks_);
    }
    for (auto& task : tasks) task();
    return static_cast<int>(tasks.size());
}

void QueuedWindowThread::close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    tasks_.clear();
}

bool FakeShell::open(const std::string& file, const std::string& params, const std::string& dir) {
    opened.push_back({file, params, dir});
    return succeed(opened.back());
}

bool FakeShell::open_document(const std::string& target, int show_command) {
    documents.emplace_back(target, show_command);
    return documents_open;
}

bool FakeShell::run_as(const std::string& exe, const std::string& dir, const std::string& param) {
    run_as_calls.push_back({exe, param, dir});
    return run_as_succeeds(run_as_calls.back());
}

std::string FakeClock::short_date(const LocalDateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.day, t.month, t.year);
    return buf;
}

std::string FakeClock::long_time(const LocalDateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

std::string FakeKeyboardLayout::key_name(unsigned virtual_key) {
    const auto it = names.find(virtual_key);
    return it == names.end() ? std::string() : it->second;
}

std::string FakePcKeyboard::key_name(unsigned virtual_key) {
    const auto codes = scan_codes.find(virtual_key);
    if (codes == scan_codes.end()) return {};
    const auto name = names.find(key_name_data(virtual_key, codes->second));
    return name == names.end() ? std::string() : name->second;
}

std::string FakeSystemFolders::special_folder(int csidl) {
    const auto it = folders.find(csidl);
    return it == folders.end() ? std::string() : it->second;
}

std::string FakeUserRegistry::path(const std::string& key, const std::string& subkey,
                                   const std::string& name) {
    return ascii_upper(key + "\\" + subkey + "\\" + name);
}

void FakeUserRegistry::set(const std::string& key, const std::string& subkey,
                           const std::string& name, const std::string& text) {
    values[path(key, subkey, name)] = text;
}

std::string FakeUserRegistry::read_string(const std::string& key, const std::string& subkey,
                                          const std::string& name) {
    const std::string p = path(key, subkey, name);
    if (not_text.count(p)) throw RegistryError("Invalid data type for '" + name + "'");
    const auto it = values.find(p);
    return it == values.end() ? std::string() : it->second;
}

bool FakeShellLinkWriter::save(const ShellLinkProperties& link, const std::string& path) {
    if (unavailable) throw ShellLinkError("Class not registered");
    saves.push_back(path);
    const size_t sep = path.find_last_of('\\');
    if (sep == std::string::npos || !files_.directory_exists(path.substr(0, sep))) return false;
    files_.add_file(path, link.target);
    links[path] = link;
    return true;
}

}  // namespace tastomat::test
