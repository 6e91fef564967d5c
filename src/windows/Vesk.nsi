; The Windows installer, made by MakePackage.cmake from the staged Vesk\
; folder (PACKAGE): into Program Files\Vesk, a Start-menu shortcut that
; starts the game in its folder (it opens Data\ there), an uninstaller that
; removes each installed file, and an entry among the installed apps.
; Silent with /S; /D=FOLDER (last on the command line) chooses the folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin

!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesk"

Name "Vesk"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vesk"
Icon "${ICON}"
UninstallIcon "${ICON}"
LicenseData "${PACKAGE}\Vesk\LICENSE.txt"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vesk"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vesk ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Vesk developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Vesk developers; MIT licence"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext all
  !include "${PACKAGE}\install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The shortcut's working folder is the output folder at the time it is made.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vesk.lnk" "$INSTDIR\vesk.exe" "" "$INSTDIR\vesk.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vesk"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vesk developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vesk.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vesk.lnk"
  ; What SDL's start-up code leaves beside the program when it printed something.
  Delete "$INSTDIR\stdout.txt"
  Delete "$INSTDIR\stderr.txt"
  !include "${PACKAGE}\uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
