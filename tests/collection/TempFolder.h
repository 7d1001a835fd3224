#pragma once
// A fresh folder under the system's temporary folder, removed with its contents afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace karvena::test {

class TTempFolder {
public:
    TTempFolder() {
        std::random_device seed;
        m_Path =
            std::filesystem::temp_directory_path() / ("karvena-test-" + std::to_string(seed()));
        std::filesystem::create_directories(m_Path);
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    std::string Path() const { return m_Path.string(); }
    std::string File(const std::string& name) const { return (m_Path / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_Path;
};

} // namespace karvena::test
