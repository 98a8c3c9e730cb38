#include "platform/user_files.h"

#include <cstdio>
#include <fstream>
#include <sys/stat.h>

#include "platform/file_list.h"
#include "platform/fs.h"

namespace {

bool read_small_file(const std::string& path, std::string& data)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > COPY_MAX_BYTES) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(static_cast<size_t>(st.st_size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<size_t>(in.gcount()));
    return true;
}

void copy_one(const std::string& from, const std::string& toDir, const std::string& name, CopyReport& report)
{
    const std::string target = toDir + "/" + name;
    if (!file_exists(from) || file_exists(target)) return;
    std::string data, error;
    if (!read_small_file(from, data)) {
        report.failed.push_back(from + ": cannot be read or is too large");
        return;
    }
    if (!make_private_dirs(toDir) || !write_file_atomic(target, data, &error)) {
        report.failed.push_back(from + ": " + (error.empty() ? "cannot make " + toDir : error));
        return;
    }
    report.copied.push_back(from);
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

CopyReport copy_working_directory_files(const std::string& fromDir, const GamePaths& to)
{
    CopyReport report;
    const std::string marker = to.configDir + "/" + COPY_DONE_MARKER;
    if (to.portable || to.configDir.empty() || to.userDataDir.empty() || file_exists(marker)) return report;
    report.ran = true;
    const std::string from = fromDir.empty() ? std::string(".") : fromDir;
    copy_one(from + "/Config.glf", to.configDir, "Config.glf", report);
    for (const std::string& name : list_files_with_extension(from, ".lbh")) {
        if (starts_with(name, "leader_board")) copy_one(from + "/" + name, to.userDataDir, name, report);
    }
    for (const std::string& name : list_files_with_extension(from + "/holes", ".top")) {
        copy_one(from + "/holes/" + name, to.userDataDir + "/holes", name, report);
    }
    std::string error;
    if (!make_private_dirs(to.configDir) || !write_file_atomic(marker, "", &error)) {
        report.failed.push_back(marker + ": " + error);
    }
    return report;
}

std::string copy_report_message(const CopyReport& report, const GamePaths& to)
{
    if (report.copied.empty()) return {};
    std::string text = "Copied " + std::to_string(report.copied.size()) + " file" + (report.copied.size() == 1 ? "" : "s") +
                       " (settings, leader boards, holes)\nfrom the working folder to\n" + to.configDir + "\nand " +
                       to.userDataDir + ".\nThe originals are left where they were.";
    return text;
}
