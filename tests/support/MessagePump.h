#pragma once
// Runs the calling thread's message loop the way the program's loop would, so that posted
// messages reach their windows inside a test, and waits for conditions rather than for time.
// The machines that run the tests are small and often loaded: give deadlines generously;
// they only matter when something is really broken.
#include <windows.h>

#include <functional>

// A deadline for what normally takes well under a second.
constexpr DWORD kPatientMs = 20000;

// Dispatches messages until done() is true or timeoutMs have passed; true when done() held.
// done() is checked after every message and at least every few milliseconds, so it may also
// watch what other threads change.
bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs = kPatientMs);

// Dispatches messages for the given time. Only for checking that something does NOT happen
// within a while; to wait for something, use pumpMessagesUntil.
void pumpMessagesFor(DWORD milliseconds);

// Dispatches what is already waiting, and what that causes, until the queue is empty.
void pumpWaitingMessages();
