#pragma once

#include "fakes/FakeScheduler.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/MemorySettings.h"
#include "web/WebSession.h"

#include <gtest/gtest.h>

#include <memory>

namespace meridavolt::testing {

// A session on a fake engine whose events the test plays.
class WebSessionTest : public ::testing::Test {
protected:
    WebSession& open(const std::string& url)
    {
        auto engine = std::make_unique<fakes::FakeWebEngine>();
        engine_ = engine.get();
        session_ = std::make_unique<WebSession>(url, std::move(engine), settings_, scheduler_);
        changes_ = session_->changed.connect([this] { ++changeCount_; });
        return *session_;
    }

    WebEngineDelegate& delegate() { return *engine_->delegate; }

    fakes::MemorySettings settings_;
    fakes::FakeScheduler scheduler_;
    fakes::FakeWebEngine* engine_ = nullptr;
    std::unique_ptr<WebSession> session_;
    Connection changes_;
    int changeCount_ = 0;
};

}  // namespace meridavolt::testing
