; Notebook Hotkeys: puts Corlane, Lumetta and Relaine side by side into one folder under
; Program Files and starts Relaine at every user's sign-in from the common Startup folder;
; Relaine starts the other two. The uninstaller stops the three programs first, found by
; their window titles and by their files in the install folder, then removes everything the
; installer made. The installer stops them too before it replaces their files.
;
; makensis -DCORLANE_EXE=<file> -DLUMETTA_EXE=<file> -DRELAINE_EXE=<file> -DOUT_FILE=<file>
;
; Command line of the installer, besides the usual /S (silent) and /D=<folder>:
;   /START   with /S: start Relaine once the files are in place (the finish page of an
;            interactive install offers the same as a check box).

!ifndef CORLANE_EXE | LUMETTA_EXE | RELAINE_EXE | OUT_FILE
!error "CORLANE_EXE, LUMETTA_EXE, RELAINE_EXE and OUT_FILE must be defined"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define PRODUCT "Notebook Hotkeys"
!define VERSION "1.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\NotebookHotkeys"
!define STARTUP_LINK "$SMSTARTUP\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartRelaine

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Terminates the process of every top-level window that has the title $1 (and the class $0,
; unless $0 is empty), waiting for each to end so that its files are free. It gives up after
; 50 windows, so that a window whose process cannot be ended (an elevated program's, another
; user's) holds it up for about 5 seconds.
!macro DEFINE_STOP_WINDOW_OWNERS un
Function ${un}StopWindowOwners
    StrCpy $4 0
    ${Do}
        ${If} $0 == ""
            System::Call "user32::FindWindowW(p 0, t r1) p .r2"
        ${Else}
            System::Call "user32::FindWindowW(t r0, t r1) p .r2"
        ${EndIf}
        ${If} $2 P= 0
            ${Break}
        ${EndIf}
        System::Call "user32::GetWindowThreadProcessId(p r2, *i .r3)"
        ; PROCESS_TERMINATE | SYNCHRONIZE
        System::Call "kernel32::OpenProcess(i 0x00100001, i 0, i r3) p .r3"
        ${If} $3 P<> 0
            System::Call "kernel32::TerminateProcess(p r3, i 1)"
            System::Call "kernel32::WaitForSingleObject(p r3, i 5000)"
            System::Call "kernel32::CloseHandle(p r3)"
        ${EndIf}
        ; A process is gone a moment before its windows are.
        System::Call "user32::IsWindow(p r2) i .r3"
        ${If} $3 <> 0
            Sleep 100
        ${EndIf}
        IntOp $4 $4 + 1
    ${LoopUntil} $4 >= 50
FunctionEnd

; Terminates every process whose program file is $INSTDIR\<its image name> for one of the
; three programs: a program that its starter had just launched has no window yet.
Function ${un}StopProgramFiles
    ; TH32CS_SNAPPROCESS; PROCESSENTRY32W is 556 bytes, its image name at offset 36.
    System::Call "kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r0"
    System::Call "*(i 556, i, i, i, i, i, i, i, i, &w260) p .r1"
    System::Call "kernel32::Process32FirstW(p r0, p r1) i .r2"
    ${DoWhile} $2 <> 0
        System::Call "*$1(i, i, i .r3, i, i, i, i, i, i, &w260 .r4)"
        ${If} $4 == "Corlane.exe"
        ${OrIf} $4 == "Lumetta.exe"
        ${OrIf} $4 == "Relaine.exe"
            ; PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE
            System::Call "kernel32::OpenProcess(i 0x00101001, i 0, i r3) p .r3"
            ${If} $3 P<> 0
                System::Call "kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r5, *i ${NSIS_MAX_STRLEN})"
                ${If} $5 == "$INSTDIR\$4"
                    System::Call "kernel32::TerminateProcess(p r3, i 1)"
                    System::Call "kernel32::WaitForSingleObject(p r3, i 5000)"
                ${EndIf}
                System::Call "kernel32::CloseHandle(p r3)"
            ${EndIf}
        ${EndIf}
        System::Call "kernel32::Process32NextW(p r0, p r1) i .r2"
    ${Loop}
    System::Free $1
    System::Call "kernel32::CloseHandle(p r0)"
FunctionEnd

; Relaine first, so that nothing starts the other two again; then what was still starting.
Function ${un}StopPrograms
    StrCpy $0 "RELAINESWITCHING"
    StrCpy $1 "RelaineSwitching"
    Call ${un}StopWindowOwners
    StrCpy $0 ""
    StrCpy $1 "Corlane"
    Call ${un}StopWindowOwners
    StrCpy $1 "Lumetta"
    Call ${un}StopWindowOwners
    Call ${un}StopProgramFiles
FunctionEnd
!macroend
!insertmacro DEFINE_STOP_WINDOW_OWNERS ""
!insertmacro DEFINE_STOP_WINDOW_OWNERS "un."

; Relaine is started through the shell of the signed-in user, so that it runs with that
; user's rights rather than the installer's.
Function StartRelaine
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Relaine.exe"'
FunctionEnd

; Both write under Program Files, into HKLM and into the common Startup folder.
!macro REQUIRE_ADMIN
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "admin"
        MessageBox MB_ICONSTOP "Administrator rights are needed for ${PRODUCT}." /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
    SetShellVarContext all
!macroend

Function .onInit
    !insertmacro REQUIRE_ADMIN
FunctionEnd

Function .onInstSuccess
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/START" $1
    ${If} ${Silent}
    ${AndIfNot} ${Errors}
        Call StartRelaine
    ${EndIf}
FunctionEnd

Section "Install"
    ; A running copy of an earlier install keeps its files open.
    Call StopPrograms
    SetOutPath "$INSTDIR"
    File "/oname=Corlane.exe" "${CORLANE_EXE}"
    File "/oname=Lumetta.exe" "${LUMETTA_EXE}"
    File "/oname=Relaine.exe" "${RELAINE_EXE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcut's working folder is the install folder ($OUTDIR).
    CreateShortcut "${STARTUP_LINK}" "$INSTDIR\Relaine.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Relaine.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    !insertmacro REQUIRE_ADMIN
FunctionEnd

Section "Uninstall"
    Call un.StopPrograms
    Delete "${STARTUP_LINK}"
    ; A program still running in another user's session keeps its file until the restart.
    Delete /REBOOTOK "$INSTDIR\Corlane.exe"
    Delete /REBOOTOK "$INSTDIR\Lumetta.exe"
    Delete /REBOOTOK "$INSTDIR\Relaine.exe"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only an empty folder goes: files the user put there stay.
    RMDir /REBOOTOK "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
