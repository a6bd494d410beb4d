#pragma once
#include <filesystem>
#include <set>
#include <string>

// A fresh folder that becomes the current directory for one test, so that a test names its files
// briefly and hands the program CurrentDataFolder(); the previous directory comes back and the
// folder goes when it ends.
class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);
// A file of a run's results without its first line when that names the run ("#run ..."): the
// stamp differs from run to run.
std::string WithoutRunLine(const std::string& text);
bool FileExists(const std::filesystem::path& path);
// Every name in `folder`, so that a test can tell that nothing was left behind.
std::set<std::string> FileNamesIn(const std::filesystem::path& folder);

// The fixture folder tests/data/NAME.
std::filesystem::path TestData(const std::string& name);
