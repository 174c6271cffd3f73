#pragma once

// Sets the TZ environment variable for the life of the object, then puts the
// old value (or its absence) back.
#include <cstdlib>
#include <ctime>
#include <string>

class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            _old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (_old.empty())
            unsetenv("TZ");
        else
            setenv("TZ", _old.c_str(), 1);
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::string _old;
};
