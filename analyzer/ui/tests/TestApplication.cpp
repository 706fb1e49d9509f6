// The one QApplication of the graph tests: made before the first test and deleted after the
// last, so that nothing of it outlives the run.
#include "GraphTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TestApplication : public ::testing::Environment {
public:
    void SetUp() override { application_ = phonomir::graphtest::makeApplication(); }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<QApplication> application_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new TestApplication);

}  // namespace
