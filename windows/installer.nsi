; The Windows installer of pilecalc: both programs, the README, the licences, a Start-menu
; shortcut and an uninstaller. For all users (administrator rights) or, when asked (/CurrentUser on
; the command line, or the first page), for the current user alone without administrator rights.
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=0.1 -DPROGRAMS=<folder with the two programs>
;            -DLICENCES=<folder of licence files> -DREADME=<README.txt> -DOUTFILE=<setup.exe>
;            windows/installer.nsi
; A 64-bit installer, as the programs are.
Target amd64-unicode
SetCompressor /SOLID lzma

!define NAME "pilecalc"
!define TITLE "嵌岩桩承载力计算"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!include MultiUser.nsh
!include MUI2.nsh

Name "${TITLE} (pilecalc ${VERSION})"
OutFile "${OUTFILE}"
BrandingText "pilecalc ${VERSION}"

!define MUI_ICON "${__FILEDIR__}\pilecalc.ico"
!define MUI_UNICON "${__FILEDIR__}\pilecalc.ico"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${LICENCES}\licences.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\pilecalc-gui.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${TITLE}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${TITLE} setup"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "licences\licences.txt"

Function .onInit
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "pilecalc"
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\pilecalc-gui.exe"
    File "${PROGRAMS}\pilecalc.exe"
    File "${README}"
    SetOutPath "$INSTDIR\licences"
    File "${LICENCES}\*.txt"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\pilecalc-gui.exe"
    ; SHCTX: the current user's or the machine's registry, as the install mode says.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE} (pilecalc)"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pilecalc-gui.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${TITLE}.lnk"
    Delete "$INSTDIR\pilecalc-gui.exe"
    Delete "$INSTDIR\pilecalc.exe"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\licences"
    Delete "$INSTDIR\uninstall.exe"
    ; Only an empty folder: files the user put there stay.
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
