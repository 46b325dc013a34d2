#pragma once
// One run of switching, made by the program's top and handed down to everything a switch
// touches: the mode the device runs in (read once), the settings store, the undo buffer of the
// last switch, the registry keys a switch keeps open, and who is there to answer while it runs. Nothing of it is global, so a test or a second session starts
// from nothing. A preview is a session with a record: the same switch runs, and what it would
// write, copy or show lands in the record instead.
#include <initializer_list>
#include <memory>
#include <string>
#include "state/Registry.h"
#include "state/SwitchRecord.h"
#include "state/UndoBuffer.h"
#include "state/VideoMode.h"

class CSettings;

// Who is there while a switch runs. The program's top supplies one: the window's user, or
// the command line's.
class CSwitchUser {
public:
    CSwitchUser() = default;
    CSwitchUser(const CSwitchUser&) = delete;
    CSwitchUser& operator=(const CSwitchUser&) = delete;
    virtual ~CSwitchUser() = default;

    // A profile's message to the user; returns once it has been read.
    virtual void Tell(const std::wstring& text) = 0;
    // A failure the switch goes on after; returns once it has been read.
    virtual void Warn(const error& failure) = 0;
    // A file cannot be replaced, most likely because a running program holds it: ends the
    // programs the user would have ended and returns once their files are free.
    virtual void FreeHeldFiles() = 0;
};

class CSwitchSession {
public:
    // While one lives, the session's registry operations keep the keys they meet open in it,
    // each opened once: a switch meets the same few keys over and over.
    class CKeysOpen {
    public:
        // In a preview the keys keep every write for the record instead of making it.
        explicit CKeysOpen(CSwitchSession& session);
        ~CKeysOpen() { m_session.m_pKeys = nullptr; }
        CKeysOpen(const CKeysOpen&) = delete;
        CKeysOpen& operator=(const CKeysOpen&) = delete;

    private:
        CSwitchSession& m_session;
        CRegistry::CKeyCache m_keys;
    };

    // The current mode is read at the first GetCurrentMode.
    CSwitchSession();
    // current: the mode the device runs in, known already.
    explicit CSwitchSession(const CVideoMode& current);
    CSwitchSession(const CSwitchSession&) = delete;
    CSwitchSession& operator=(const CSwitchSession&) = delete;
    virtual ~CSwitchSession();

    // The mode the device runs in: read at the first call (ReadCurrentMode) and kept, since
    // the driver's settings take effect only at the next restart and whatever a switch writes
    // later must not change the answer.
    CVideoMode GetCurrentMode();
    // The mode the driver's settings name now, read every time: after a switch without a
    // restart, that switch's target.
    virtual CVideoMode ReadCurrentMode() const = 0;
    CSettings& GetSettings() { return *m_pSettings; }
    CUndoBuffer& GetUndoBuffer() { return m_undo; }
    const CUndoBuffer& GetUndoBuffer() const { return m_undo; }
    // The keys the running switch keeps open; null outside a switch, when nothing stays open.
    CRegistry::CKeyCache* GetKeys() const { return m_pKeys; }

    // Null while nobody is there to answer: a profile's messages are skipped and no program
    // is ended. Not owned.
    CSwitchUser* GetUser() const { return m_pUser; }
    void SetUser(CSwitchUser* user) { m_pUser = user; }
    // A profile's message, to the user if there is one.
    void Tell(const std::wstring& text) const;
    // A failure the switch goes on after, to the user if there is one.
    void Warn(const error& failure) const;
    // Asks the user, if there is one, to free the files running programs hold.
    void FreeHeldFiles() const;

    // The preview's record; null in a switch that writes. Not owned.
    CSwitchRecord* GetRecord() const { return m_pRecord; }
    void SetRecord(CSwitchRecord* record) { m_pRecord = record; }
    bool IsPreview() const { return m_pRecord != nullptr; }
    // In a preview, a line of the record; nothing otherwise.
    void Record(CSwitchRecord::Kind kind, const std::wstring& text) const;
    void Record(CSwitchRecord::Kind kind, UINT textId, std::initializer_list<std::wstring> args = {}) const;

    // A registry whose operations use the session's keys: what a switch reads and writes goes
    // through these, so that a preview keeps it.
    CRegistry Registry(uint32_t root, const std::wstring& path = std::wstring()) const;
    CRegistry SettingsRegistry() const;

protected:
    bool m_bCurrentKnown = false;
    CVideoMode m_current;
    std::unique_ptr<CSettings> m_pSettings;
    CUndoBuffer m_undo;
    // Set while a CKeysOpen lives.
    CRegistry::CKeyCache* m_pKeys = nullptr;
    CSwitchUser* m_pUser = nullptr;
    CSwitchRecord* m_pRecord = nullptr;
};
