#pragma once

#include <ctime>

// Where "now" comes from. Everything that depends on the current moment (active insulin,
// retention cut-off, days left of a vial, report periods) asks a Clock, so tests can fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t now() const = 0;
};

class SystemClock : public Clock {
public:
    std::time_t now() const override { return std::time(nullptr); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t moment) : m_moment(moment) {}
    std::time_t now() const override { return m_moment; }
    void set(std::time_t moment) { m_moment = moment; }

private:
    std::time_t m_moment;
};
