// A fresh program for each test of the program's logic: a new application object, the fake
// backend reset, and a program folder of its own where Pendulix.ini and Pendulix.log go.
#pragma once

#include "app/Unit1.h"
#include "platform/Forms.h"
#include "platform/fake/Fake.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ProgramFixture : public testing::Test {
protected:
    void SetUp() override {
        tk::fake::Reset();
        saved_ = tk::Application;
        application_ = std::make_unique<tk::TApplication>();
        tk::Application = application_.get();
        tk::Application->SetTitle("Pendulix");
        tk::Application->ShowMainForm = false;
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("pendulix-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        tk::fake::SetExeName((dir_ / "Pendulix").string());
    }
    void TearDown() override {
        tk::Application = saved_;
        application_.reset();
        Form1 = nullptr;
        std::filesystem::remove_all(dir_);
    }

    // Pendulix.ini beside the program; `text` as it stands (use "\r\n" for line ends).
    void WriteSettings(const std::string& text) const {
        std::ofstream(dir_ / "Pendulix.ini", std::ios::binary) << text;
    }

    // Creates Form1 as the program's entry does: FormCreate runs (and a start-up run with it).
    TForm1& CreateForm() {
        tk::Application->CreateForm(Form1);
        return *Form1;
    }

    // The journal without the ProcessMessages lines.
    static std::vector<std::string> Steps() {
        std::vector<std::string> steps;
        for (const auto& line : tk::fake::Journal())
            if (line != "ProcessMessages")
                steps.push_back(line);
        return steps;
    }

    const std::filesystem::path& Dir() const { return dir_; }

private:
    tk::TApplication* saved_ = nullptr;
    std::unique_ptr<tk::TApplication> application_;
    std::filesystem::path dir_;
};
