#pragma once
// Points XDG_CONFIG_HOME at a fresh temporary folder for the life of a test, so
// no test ever touches the user's real settings.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vocalore::test {

class TempConfigHome {
public:
    TempConfigHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vocalore-settings-XXXXXX").string();
        Dir = ::mkdtemp(pattern.data());
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old != nullptr)
            FOld = old, FHadOld = true;
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    }
    ~TempConfigHome() {
        if (FHadOld)
            ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
    std::string SettingsFile() const { return Dir + "/Vocalore/settings.ini"; }
    std::string ReadFile() const {
        std::ifstream in(SettingsFile(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteFile(const std::string& text) const {
        std::filesystem::create_directories(Dir + "/Vocalore");
        std::ofstream(SettingsFile(), std::ios::binary) << text;
    }

    std::string Dir;

private:
    std::string FOld;
    bool FHadOld = false;
};

} // namespace vocalore::test
