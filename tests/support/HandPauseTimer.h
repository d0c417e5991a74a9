#pragma once
#include "html/CheckScheduler.h"

#include <utility>

// A pause of typing that ends when the test says so.
struct HandPauseTimer : PauseTimer {
    std::function<void()> elapsed;
    bool running = false;
    void start(std::chrono::milliseconds, std::function<void()> then) override
    {
        elapsed = std::move(then);
        running = true;
    }
    void stop() override { running = false; }
    bool active() const override { return running; }
    void fire()
    {
        if (std::exchange(running, false))
            elapsed();
    }
};
