#include "ui/ProfileCheck.h"
#include <vector>
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/TextFile.h"
#include "platform/DevicePaths.h"
#include "profiles/Profile.h"
#include "profiles/ProfileChecker.h"
#include "resources/resource.h"
#include "ui/ReportDlg.h"

std::wstring GetCheckReportPath()
{
    return platform::GetDocumentPath(L"Dorix Check.txt");
}

size_t CheckProfile(CProfile& profile, bool show, HWND owner)
{
    std::vector<CProfileChecker::CProblem> problems;
    try {
        problems = CProfileChecker(profile).Check();
    } catch (const error& e) {
        // The report says why there is nothing else to say; the error the user sees is the
        // profile's, even if the report cannot be written.
        UndoQuietly([&] {
            WriteTextFile(GetCheckReportPath(),
                          {FormatResourceString(IDS_CHECK_REPORT_PROFILE, {profile.GetPath()}), e.GetMessage()});
        });
        throw;
    }
    const std::vector<std::wstring> report = CProfileChecker::Report(profile, problems);
    WriteTextFile(GetCheckReportPath(), report);
    if (show) {
        ShowProgramMessage(owner, CProfileChecker::Summary(problems.size()),
                           MB_OK | (problems.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
        if (!problems.empty())
            CReportDlg(LoadResourceString(IDS_CHECK_TITLE), report, owner).DoModal();
    }
    return problems.size();
}
