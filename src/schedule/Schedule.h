// Live schedules of the current day and the lists that hold them.
#pragma once

struct Schedule;

struct ScheduleList {
    Schedule* head = nullptr;
};
