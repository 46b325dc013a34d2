#pragma once
// A program run in a video mode of its own, as a shortcut asks for it: its command line names
// the mode, perhaps "RETURN" and "Y", then the word "RUN" and the program with its arguments.
// When the device runs in another mode, the run is recorded (settings sub-key "Run": the
// program, its arguments and, with "RETURN", the mode to go back to) and a shortcut in the
// Startup folder starts this program with "RESUME" after the reset, which starts the program
// there and, with "RETURN", goes back when the program has ended.
#include <string>
#include "framework/Error.h"
#include "framework/Handle.h"
#include "state/VideoMode.h"

class CProgramRun {
public:
    // A record that names no program, or a mode to go back to that is none.
    class CRecordException : public error {
    public:
        using error::error;
    };

    CProgramRun() = default;
    CProgramRun(std::wstring program, std::wstring arguments)
        : m_strProgram(std::move(program)), m_strArguments(std::move(arguments)) {}

    std::wstring m_strProgram;
    std::wstring m_strArguments;
    // With "RETURN": back to m_returnMode when the program has ended.
    bool m_bReturn = false;
    CVideoMode m_returnMode;
    // The program was started: a reset since then has ended it.
    bool m_bStarted = false;

    // "Dorix Run.lnk" in the Startup folder.
    static std::wstring GetShortcutPath();
    // The recorded run; false when there is none. Raises CRecordException when the record
    // names no program or a mode to go back to that is none.
    static bool ReadRecord(CProgramRun& run);
    // Replaces any earlier record by this run's and puts the shortcut up. Raises a
    // CRegistry::CWriteException (the record) or a CFileException (the shortcut) when either
    // cannot be written, after taking down what was written.
    void Arm() const;
    // Records that the program has been started. Raises CRegistry::CWriteException when the
    // registry refuses it: the program must not start then, or a reset would start it again.
    static void MarkStarted();
    // Deletes the record and the shortcut, whichever exist. Raises CRegistry::CWriteException
    // or CFileException when either stays.
    static void Remove();

    // Starts the program with its arguments and hands its process over. Raises an `error`
    // naming the program when it cannot be started.
    CKernelHandle Start() const;
};
