; The Windows installer of Quillmere, made by scripts/package.sh with makensis.
; package.sh defines:
;   QM_VERSION  the program's version, three numbers (from CMakeLists.txt)
;   QM_STAGE    a folder holding quillmere.exe, quillmerec.exe and readme.txt
;   QM_ICON     the program's icon
;   QM_OUTFILE  the installer to write
;
; Command line of the installer:   /S (silent)   /ADDTOPATH (put the program folder on the user's PATH, as
;                                  the box on its own page does)   /D=folder (last, unquoted, blanks allowed)
; Command line of the uninstaller: /S (silent)   /REMOVEUSERDATA (also remove the settings and the
;                                  data folder of the user who runs it, as the box on its page does)

!ifndef QM_VERSION | QM_STAGE | QM_ICON | QM_OUTFILE
    !error "QM_VERSION, QM_STAGE, QM_ICON and QM_OUTFILE must be defined"
!endif

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Quillmere"
!define PUBLISHER "Hollowcrest"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere"
; The per-user settings and data folder, as the program names them.
!define SETTINGS_KEY "Software\Hollowcrest\Quillmere"
!define DATA_FOLDER "Hollowcrest software\Quillmere"
; The program holds this mutex while it runs (its running-copy guard).
!define RUNNING_MUTEX "Local\Quillmere.RunningCopy"

Name "${PRODUCT} ${QM_VERSION}"
OutFile "${QM_OUTFILE}"
; A 32-bit installer: $PROGRAMFILES is "Program Files (x86)" on 64-bit Windows.
InstallDir "$PROGRAMFILES\${PRODUCT}"
; Installing again goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${QM_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${QM_VERSION}.0"
VIFileVersion "${QM_VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${QM_VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WordFunc.nsh"
!include "nsDialogs.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "${QM_ICON}"
!define MUI_UNICON "${QM_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom PathPageShow PathPageLeave
!insertmacro MUI_PAGE_INSTFILES
; Not shown by a silent install, so that one starts nothing.
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillmere.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Quillmere"
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_HEADER_TEXT "Uninstall ${PRODUCT}"
!define MUI_PAGE_HEADER_SUBTEXT "Your own settings and files stay unless you tick the box."
!define MUI_COMPONENTSPAGE_TEXT_TOP "${PRODUCT} will be removed from $INSTDIR. Tick the box to remove your settings and your data folder (extensions.txt, errorlog.txt) as well."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "What to remove:"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks the user to close Quillmere while it runs; ends the installer or uninstaller with exit code 2
; when they cancel (a silent run cancels at once).
!macro QM_WAIT_UNTIL_CLOSED
    qm_check_running:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0'
    ${If} $0 <> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quillmere is running.$\r$\n$\r$\nClose it, then press Retry." \
            /SD IDCANCEL IDRETRY qm_check_running
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

; 1 when the program folder goes onto the user's PATH: the box on the PATH page, or /ADDTOPATH.
Var AddToPath
Var AddToPathBox

; Adds (+FOLDER) or takes away (-FOLDER) a folder in the user's PATH (HKCU, so no other user's). NSIS
; strings hold at most 1,024 characters, and a developer's PATH is often longer: the console program,
; already in the program folder, makes the change at any length, comparing without regard to case,
; keeping every other entry, its order and the value's type (REG_EXPAND_SZ: %USERPROFILE%\bin stays
; unexpanded), and tells Explorer of the new environment.
!macro QM_CHANGE_PATH_FUNCTION PREFIX
Function ${PREFIX}ChangeUserPath
    Exch $0 ; "+folder" or "-folder"
    Push $1
    Push $2
    StrCpy $1 $0 1
    StrCpy $2 $0 "" 1
    ${If} $1 == "+"
        StrCpy $1 "--user-path-add"
    ${Else}
        StrCpy $1 "--user-path-remove"
    ${EndIf}
    ; A backslash before the closing quote would escape it ("C:\"): doubled, it stays one.
    StrCpy $0 $2 1 -1
    ${If} $0 == "\"
        StrCpy $0 "$2\"
    ${Else}
        StrCpy $0 $2
    ${EndIf}
    nsExec::Exec '"$INSTDIR\quillmerec.exe" $1="$0"'
    Pop $0 ; the exit code, or "error" when the program could not be started
    ${If} $0 != 0
        DetailPrint "Your PATH could not be changed; change it by hand: $2"
    ${EndIf}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro QM_CHANGE_PATH_FUNCTION ""
!insertmacro QM_CHANGE_PATH_FUNCTION "un."

; Takes trailing blanks and backslashes off a folder path ("C:\Tools\Quillmere\ " gives
; "C:\Tools\Quillmere"); a drive root keeps its backslash.
!macro QM_TRIM_FOLDER_FUNCTION PREFIX
Function ${PREFIX}TrimFolder
    Exch $0
    Push $1
    ${Do}
        StrCpy $1 $0 1 -1
        ${If} $1 != " "
        ${AndIf} $1 != "\"
            ${Break}
        ${EndIf}
        StrCpy $0 $0 -1
    ${Loop}
    StrLen $1 $0
    ${If} $1 == 2
        StrCpy $0 "$0\"
    ${EndIf}
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro QM_TRIM_FOLDER_FUNCTION ""
!insertmacro QM_TRIM_FOLDER_FUNCTION "un."

; Sets the error flag when the install folder cannot be made or written; leaves nothing behind.
Function CheckFolderWritable
    Push $INSTDIR
    Call TrimFolder
    Pop $INSTDIR
    StrCpy $1 ""
    IfFileExists "$INSTDIR\*.*" 0 +2
        StrCpy $1 "existed"
    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $0 "$INSTDIR\quillmere-setup.tmp" w
    ${IfNot} ${Errors}
        FileClose $0
        Delete "$INSTDIR\quillmere-setup.tmp"
    ${Else}
        MessageBox MB_OK|MB_ICONSTOP "Quillmere cannot be installed into$\r$\n$INSTDIR$\r$\n$\r$\nThe folder cannot be written. Choose another folder, or run the installer as an administrator." /SD IDOK
        ${If} $1 != "existed"
            RMDir "$INSTDIR"
        ${EndIf}
        SetErrors
    ${EndIf}
FunctionEnd

Function .onInit
    !insertmacro QM_WAIT_UNTIL_CLOSED
    StrCpy $AddToPath 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ADDTOPATH" $1
    ${IfNot} ${Errors}
        StrCpy $AddToPath 1
    ${EndIf}
    ${If} ${Silent}
        ; Take /D= as given: makensis' own code drops a folder it cannot make for the default one.
        ; (the raw command line: $CMDLINE has lost /D= by now)
        System::Call 'kernel32::GetCommandLineW() w .r0'
        ${WordFind} "$0" " /D=" "E+1}" $1
        ${IfNot} ${Errors}
        ${AndIf} $1 != ""
            StrCpy $INSTDIR $1
        ${EndIf}
        Call CheckFolderWritable
        ${If} ${Errors}
            SetErrorLevel 3
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

; The console program's page: whether its folder goes onto the user's PATH (unticked unless asked).
Function PathPageShow
    !insertmacro MUI_HEADER_TEXT "Console program" "Use quillmerec from any command prompt."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 40u "Quillmere comes with quillmerec.exe, a console program for scripts, builds and commit hooks. A command prompt finds it by name when its folder is on your PATH. The uninstaller takes the folder off your PATH again."
    Pop $0
    ${NSD_CreateCheckbox} 0 48u 100% 12u "&Add the Quillmere folder to my PATH"
    Pop $AddToPathBox
    ${If} $AddToPath == 1
        ${NSD_Check} $AddToPathBox
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function PathPageLeave
    ${NSD_GetState} $AddToPathBox $AddToPath
FunctionEnd

; On the folder page the user chooses again.
Function DirectoryLeave
    Call CheckFolderWritable
    ${If} ${Errors}
        Abort
    ${EndIf}
FunctionEnd

Section "Quillmere" SecProgram
    SectionIn RO
    Push $INSTDIR
    Call TrimFolder
    Pop $INSTDIR

    ; An earlier install in another folder is taken away: one Quillmere on the machine.
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
    ${AndIf} $1 != $INSTDIR
        Delete "$1\quillmere.exe"
        Delete "$1\quillmerec.exe"
        Delete "$1\readme.txt"
        Delete "$1\uninstall.exe"
        RMDir "$1"
    ${EndIf}

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${QM_STAGE}\quillmere.exe"
    File "${QM_STAGE}\quillmerec.exe"
    File "${QM_STAGE}\readme.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The earlier folder leaves the PATH through the console program just put in place.
    ${If} $1 != ""
    ${AndIf} $1 != $INSTDIR
        Push "-$1"
        Call ChangeUserPath
    ${EndIf}

    ; The installer's working folder leaves the program folder before anything may start another
    ; process: a child inherits it, and a folder that is some process's working folder cannot be
    ; removed (Wine starts a helper of its own for every shortcut saved, which outlives the
    ; installer). $OUTDIR alone, not the working folder, gives the shortcut its "Start in".
    SetOutPath "$TEMP"
    StrCpy $OUTDIR "$INSTDIR"
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillmere.exe" "" "$INSTDIR\quillmere.exe" 0 \
        SW_SHOWNORMAL "" "Replaces the tabs of plain-text files with spaces"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${QM_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmere.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
    IntFmt $2 "0x%08X" $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2

    ${If} $AddToPath == 1
        Push "+$INSTDIR"
        Call ChangeUserPath
    ${EndIf}
SectionEnd

; Before the program's own files: the user's data goes first, so that a finished uninstall has done
; both.
Section /o "un.My settings and data folder" SecUserData
    SetShellVarContext current
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Hollowcrest"
    RMDir /r "$APPDATA\${DATA_FOLDER}"
    RMDir "$APPDATA\Hollowcrest software"
SectionEnd

Section "-un.Quillmere"
    Push $INSTDIR
    Call un.TrimFolder
    Pop $INSTDIR
    ; The PATH first: the console program that changes it goes with the rest.
    Push "-$INSTDIR"
    Call un.ChangeUserPath
    ; Only what the installer put there: the folder may hold other files of the user.
    Delete "$INSTDIR\quillmere.exe"
    Delete "$INSTDIR\quillmerec.exe"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
    !insertmacro QM_WAIT_UNTIL_CLOSED
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEUSERDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecUserData} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
