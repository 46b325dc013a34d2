#pragma once
// Tests on a fresh device that switch: each test is a new run of the program, with a switch
// session of its own that has not read the current mode yet, and someone there to answer as
// from the command line.
#include <memory>
#include "DeviceFixture.h"
#include "app/ProgramUser.h"
#include "core/ModeSwitch.h"

class SessionTest : public DeviceTest {
protected:
    SessionTest() { NewRun(); }
    void TearDown() override
    {
        m_pSession.reset();
        DeviceTest::TearDown();
    }
    CModeSwitch& Session() { return *m_pSession; }
    // A new run of the program: the session before it is gone.
    void NewRun()
    {
        m_pSession = std::make_unique<CModeSwitch>();
        m_pSession->SetUser(&m_user);
    }

private:
    CProgramUser m_user{nullptr};
    std::unique_ptr<CModeSwitch> m_pSession;
};
