// One QApplication for the whole test program, created before the first test runs.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "skin_ui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const ::testing::Environment* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace
