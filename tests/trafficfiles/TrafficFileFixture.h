#pragma once
// A private scratch folder per test, with helpers to write and read whole files, and a guard
// that restores the car weight limit a test changes.

#include "config/CConfigData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

class TrafficFileFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("roadflux-tf-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::string writeFile(const std::string& name, const std::string& content) const
    {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

    static std::string readFile(const std::string& fileName)
    {
        std::ifstream in(fileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder;
};

class CarLimitGuard
{
public:
    explicit CarLimitGuard(int limit) : saved(theConfigData.carMaxGVW) { theConfigData.carMaxGVW = limit; }
    ~CarLimitGuard() { theConfigData.carMaxGVW = saved; }
    CarLimitGuard(const CarLimitGuard&) = delete;
    CarLimitGuard& operator=(const CarLimitGuard&) = delete;

private:
    int saved;
};
