#pragma once
// A private program folder for one test: VISTREL_HOME points at a fresh
// temporary folder, removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vistrel::test {

class TempHome {
public:
    TempHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        setenv("VISTREL_HOME", m_path.c_str(), 1);
    }
    ~TempHome()
    {
        unsetenv("VISTREL_HOME");
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

} // namespace vistrel::test
