; Kalvitra's installer for 64-bit Windows, built by packaging/windows/installer.sh:
;   makensis -DVERSION=1.2.0 -DSTAGE=<installed folder> -DFILES=<files.nsh>
;            -DOUTFILE=<setup.exe> kalvitra.nsi
; FILES holds the install and uninstall lines of every file in STAGE, so the
; uninstaller removes exactly what the installer put there. /S installs (and
; uninstalls) silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include x64.nsh

Name "Kalvitra ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kalvitra"
InstallDirRegKey HKLM "Software\Kalvitra" "InstallLocation"
BrandingText "Kalvitra ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvitra"

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSES.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the language of the Windows it runs on.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

; The Start-menu entries carry the names of the Linux menu entries
; (packaging/*.desktop: Name[zh_CN] and Name).
LangString CalculatorEntry ${LANG_SIMPCHINESE} "变压器铁心计算器"
LangString CalculatorEntry ${LANG_ENGLISH} "Kalvitra"
LangString DesignerEntry ${LANG_SIMPCHINESE} "铁心设计"
LangString DesignerEntry ${LANG_ENGLISH} "Core designer"
LangString SheetType ${LANG_SIMPCHINESE} "Kalvitra 计算单"
LangString SheetType ${LANG_ENGLISH} "Kalvitra sheet"
LangString DesignType ${LANG_SIMPCHINESE} "Kalvitra 铁心设计"
LangString DesignType ${LANG_ENGLISH} "Kalvitra core design"

; A file type opened by one of the programs: .EXT -> PROGID -> "PROGRAM" "%1".
!macro Associate EXT PROGID DESCRIPTION PROGRAM
  WriteRegStr HKLM "Software\Classes\${EXT}" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
!macroend

; The extension's default is taken back only while it still names ours.
!macro Dissociate EXT PROGID
  ReadRegStr $0 HKLM "Software\Classes\${EXT}" ""
  StrCmp $0 "${PROGID}" 0 +2
  DeleteRegKey HKLM "Software\Classes\${EXT}"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Kalvitra"
  !define INSTALL_SECTION
  !include "${FILES}"
  !undef INSTALL_SECTION
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\$(CalculatorEntry).lnk" "$INSTDIR\kalvitra.exe"
  CreateShortcut "$SMPROGRAMS\$(DesignerEntry).lnk" "$INSTDIR\kalvitra-designer.exe"

  !insertmacro Associate ".kvs" "Kalvitra.Sheet" "$(SheetType)" "kalvitra.exe"
  !insertmacro Associate ".kvd" "Kalvitra.Design" "$(DesignType)" "kalvitra-designer.exe"
  ; Explorer picks up the new file types at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "Software\Kalvitra" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kalvitra ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kalvitra developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvitra.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Both languages' entries: the installer made the one of its language.
  Delete "$SMPROGRAMS\变压器铁心计算器.lnk"
  Delete "$SMPROGRAMS\Kalvitra.lnk"
  Delete "$SMPROGRAMS\铁心设计.lnk"
  Delete "$SMPROGRAMS\Core designer.lnk"
  !insertmacro Dissociate ".kvs" "Kalvitra.Sheet"
  !insertmacro Dissociate ".kvd" "Kalvitra.Design"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  !define UNINSTALL_SECTION
  !include "${FILES}"
  !undef UNINSTALL_SECTION
  Delete "$INSTDIR\uninstall.exe"
  ; Only folders left empty go: nothing the user put there is removed.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Kalvitra"
SectionEnd
