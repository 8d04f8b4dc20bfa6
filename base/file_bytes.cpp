#include "base/file_bytes.h"

#include <cstdio>
#include <memory>

namespace kavrel {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    const File file(_wfopen(path.c_str(), L"rb"));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, n);
    }
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes) {
    File file(_wfopen(path.c_str(), L"wb"));
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    // The close flushes: its failure is a failed write too.
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace kavrel
