#pragma once

// Marks an operation as running for as long as it lives, whether it ends or fails.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};
