; Ombrelis's installer for Windows, made by scripts/package-windows with Debian's makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1.0 -DSTAGE=<folder> -DFILES=<list.nsh>
;            -DOUTFILE=<setup.exe> -DICON=<ombrelis.ico> ombrelis.nsi
; STAGE holds what the installation rules (cmake/InstallWindows.cmake) put in one folder; FILES
; lists its files and folders, so that the uninstaller removes exactly those and then the folder.
; For the current user only: no administrator rights, nothing outside the user's own profile.

; A 64-bit installer for a 64-bit program: it also runs where 32-bit programs cannot (Wine
; without its 32-bit part), and installs nothing a 32-bit system could use anyway.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrelis"

Name "Ombrelis"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ombrelis"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Ombrelis ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "Ombrelis"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation d'Ombrelis"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Voir LICENCES.txt"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\ombrelis.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Ombrelis"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\Desinstaller.exe"
  CreateShortCut "$SMPROGRAMS\Ombrelis.lnk" "$INSTDIR\ombrelis.exe" "" "$INSTDIR\ombrelis.exe" 0 \
    "" "" "Enregistreur de mesures MAX187 sur le port parallèle"
  ; Shown in Windows's list of installed programs, for the current user.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ombrelis"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Ombrelis"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ombrelis.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Desinstaller.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Desinstaller.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: a folder the user chose may hold other files, even their
; logs, and those stay (with the folder).
Section "Uninstall"
  Delete "$SMPROGRAMS\Ombrelis.lnk"
  !insertmacro OMBRELIS_REMOVE_FILES
  Delete "$INSTDIR\Desinstaller.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
