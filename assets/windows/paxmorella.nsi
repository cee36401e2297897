; The Windows setup of Paxmorella, made by makensis from Debian's nsis package (the build's
; windows_packages target, cmake/windows_packaging.cmake, passes the defines below).
;   VERSION   the version, "0.1"
;   PROGRAM   the built paxmorella.exe
;   ICON      assets/paxmorella.ico
;   BITS      32 or 64: a 64-bit setup runs on the amd64 stub, installs into the 64-bit program
;             folder and writes the 64-bit registry view
;   OUTFILE   the setup program to write
; It installs for all users (the default for an administrator, or /AllUsers) or for the current
; user alone (/CurrentUser, or the default without administrator rights), puts a Start-menu
; entry in place and registers the uninstaller under the Apps list ("Uninstall" registry key).
; /S runs it without a window, and the uninstaller too.

Unicode true
!if ${BITS} == 64
  Target amd64-unicode
!endif

!define APP "Paxmorella"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
; The uninstaller finds which of the two installations it belongs to from its own entry.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!if ${BITS} == 64
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh

Name "${APP}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "0.0.0.1"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The ${APP} developers"

Function .onInit
  !if ${BITS} == 64
    SetRegView 64
  !endif
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !if ${BITS} == 64
    SetRegView 64
  !endif
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Paxmorella"
  SetOutPath "$INSTDIR"
  File "/oname=paxmorella.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\paxmorella.exe" "" "$INSTDIR\paxmorella.exe" 0
  ; SHCTX: HKLM for an installation for all users, HKCU for one user's.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\paxmorella.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The ${APP} developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$INSTDIR\paxmorella.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
