; The Windows installer of Kazuban, made by scripts/package-windows.sh with
; Debian's NSIS (makensis), which defines VERSION, STAGE (the folder of the
; files to install) and OUTFILE, and writes the list of installed files
; (files.nsh) for the uninstaller.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kazuban"

Name "Kazuban ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kazuban"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Kazuban ${VERSION}"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Kazuban"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The Start menu entry starts the program in the player's own data folder,
  ; %USERPROFILE%\Kazuban, made with the demo files on first start.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Kazuban"
  CreateShortCut "$SMPROGRAMS\Kazuban\Kazuban.lnk" "$INSTDIR\kazuban-start.exe" "" "$INSTDIR\kazuban.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kazuban ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kazuban developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kazuban.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes what was installed, file by file: the folder goes only when
; nothing else is in it. The player's data folder is not touched.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Kazuban\Kazuban.lnk"
  RMDir "$SMPROGRAMS\Kazuban"
  !include "${STAGE}\..\files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
