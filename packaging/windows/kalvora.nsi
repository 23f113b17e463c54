; Kalvora's installer for Windows: installs for the current user, without administrator rights,
; into %LOCALAPPDATA%\Programs\Kalvora, with a Start-menu entry and an entry in the list of
; installed programs (with its size); the uninstaller removes exactly the files installed. Its
; pages, in German: welcome, folder, progress, and finish with a box that starts Kalvora; Escape
; and Cancel ask before they cancel. The uninstaller asks before it removes anything (/S: silent).
; makensis -DVERSION=1.00 -DSTAGE=<folder with install.nsh, uninstall.nsh and the program folder>
;          -DICON=<kalvora.ico> -DOUTFILE=<setup.exe> kalvora.nsi
; 64-bit, as the program is (and wine64 runs no 32-bit installer).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora"
Name "Kalvora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kalvora"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Kalvora"
VIAddVersionKey /LANG=1031 "FileDescription" "Kalvora ${VERSION} installieren"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "Kalvora-Team"
VIAddVersionKey /LANG=1031 "LegalCopyright" "2026 Kalvora-Team"
BrandingText " "

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\kalvora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Kalvora starten"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Section
  SetShellVarContext current
  !include "${STAGE}\install.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Kalvora.lnk" "$INSTDIR\kalvora.exe" "" "$INSTDIR\kalvora.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kalvora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kalvora-Team"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2 ; kilobytes, as the list of programs reads it
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Kalvora.lnk"
  !include "${STAGE}\uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
