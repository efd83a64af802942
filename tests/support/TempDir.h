// A fresh folder under the system temp directory, removed with everything in
// it when the object goes away.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Path of `name` inside the folder, as text.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// `prefix`, the number and `extension` ("r3.abf"). Built by appending: GCC 12
// at -O3 warns falsely (-Wrestrict) about "r" + std::to_string(n).
inline std::string NumberedName(const char* prefix, int number, const char* extension) {
    std::string name(prefix);
    name.append(std::to_string(number)).append(extension);
    return name;
}
