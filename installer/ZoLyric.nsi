; ZoLyric's installer: installs the suite for all users into Program Files,
; registers its COM servers, puts the plug-in into the player's Plugins
; folder and adds an entry to the installed programs. The uninstaller takes
; all of that away again and keeps the user's own files (saved lyrics, the
; resource store, conf.ini) unless asked to remove them too.
;
; Built by the build (target `installer`) with:
;   makensis -INPUTCHARSET UTF8 -DARCH=x86|amd64 -DVERSION=1.0.0
;            -DLISTS=<image lists> -DHOME_IMAGE=<image> -DOUTFILE=<exe> ZoLyric.nsi
;
; Command line of the installer:
;   /S                 silent
;   /PLAYERDIR=<dir>   the player's folder (its Plugins folder receives the
;                      plug-in); without it the player is found from the
;                      registry, else the user is asked (silent: exit code 2)
;   /D=<dir>           install folder (last, unquoted)
; Command line of the uninstaller (uninst.exe in the install folder):
;   /S                 silent
;   /REMOVEUSERDATA    also remove the saved lyrics, settings and the folder

Unicode true
!ifndef ARCH | VERSION | LISTS | HOME_IMAGE | OUTFILE
  !error "ARCH, VERSION, LISTS, HOME_IMAGE and OUTFILE must be defined"
!endif
Target ${ARCH}-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "ZoLyric"
!define PRODUCT_KEY "SOFTWARE\ZOLYRIC"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZoLyric"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define LOGSVR_CLSID "{6753D0C5-8225-4C96-8001-575510CD050D}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!if "${ARCH}" == "amd64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${PRODUCT_KEY}" "ZOLYRIC_HOME"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include Sections.nsh

Var PlayerDir

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
; The player's folder: found from the registry, else chosen here.
!define MUI_PAGE_HEADER_TEXT "$(PlayerPageTitle)"
!define MUI_PAGE_HEADER_SUBTEXT "$(PlayerPageSubtitle)"
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(PlayerPageText)"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "$(PlayerPageFolder)"
!define MUI_DIRECTORYPAGE_VARIABLE $PlayerDir
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE PlayerPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"
!include "${__FILEDIR__}\Texts.nsh"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT}"

; ---- Shared helpers ----------------------------------------------------------

; The suite's registry key and the installed-programs entry live in the
; registry view of the deliverables: 64-bit for the x86_64 build.
!macro UseProductRegView
  !if "${ARCH}" == "amd64"
    SetRegView 64
  !endif
!macroend

; A running player holds the plug-in and the suite's libraries open.
!macro WaitForPlayerClosed un
  Function ${un}WaitForPlayerClosed
    retry:
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PlayerRunning)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 3
      Abort "$(PlayerRunning)"
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro WaitForPlayerClosed ""
!insertmacro WaitForPlayerClosed "un."

; ---- Installer -----------------------------------------------------------------

; Winamp's own installer records its folder for the installing user, and
; its uninstaller in the installed programs.
Function FindPlayer
  ReadRegStr $0 HKCU "Software\Winamp" ""
  ${If} $0 == ""
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp" "UninstallString"
    ${If} $0 != ""
      ${WordReplace} $0 '"' "" "+" $0
      ${GetParent} $0 $0
    ${EndIf}
  ${EndIf}
  StrCpy $PlayerDir $0
FunctionEnd

Function TrimPlayerDir
  StrCpy $0 $PlayerDir 1 -1
  ${If} $0 == "\"
    StrCpy $PlayerDir $PlayerDir -1
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro UseProductRegView
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}

  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/PLAYERDIR=" $2
  ${If} ${Errors}
    Call FindPlayer
  ${Else}
    StrCpy $PlayerDir $2
  ${EndIf}
  Call TrimPlayerDir

  ; Without a player nothing would show the lyrics: a silent install stops
  ; before it changes anything.
  ${If} ${Silent}
    ${If} $PlayerDir == ""
    ${OrIfNot} ${FileExists} "$PlayerDir\*.*"
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function PlayerPageLeave
  Call TrimPlayerDir
  ${IfNot} ${FileExists} "$PlayerDir\winamp.exe"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(PlayerNotFound)" /SD IDYES IDYES +2
    Abort
  ${EndIf}
FunctionEnd

Section "-Install"
  SetShellVarContext all
  Call WaitForPlayerClosed

  ; The program files, the plug-in in the player's folder and the event-log
  ; service's message set in the system folder.
  !include "${LISTS}/install.nsh"

  WriteRegStr HKLM "${PRODUCT_KEY}" "ZOLYRIC_HOME" "$INSTDIR"
  ClearErrors
  RegDLL "$INSTDIR\ZoLogSvr.dll"
  !if /FileExists "${HOME_IMAGE}/ZoLyricOCX.dll"
    RegDLL "$INSTDIR\ZoLyricOCX.dll"
  !endif
  ${If} ${Errors}
    DetailPrint "$(RegisterFailed)"
    SetErrorLevel 4
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "PlayerFolder" "$PlayerDir"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---- Uninstaller ----------------------------------------------------------------

Section "un.$(UnProgramSection)" SecProgram
  SectionIn RO
  SetShellVarContext all
  Call un.WaitForPlayerClosed

  ClearErrors
  UnRegDLL "$INSTDIR\ZoLogSvr.dll"
  ${If} ${Errors}
    ; A damaged or missing library cannot unregister itself.
    DeleteRegKey HKCR "CLSID\${LOGSVR_CLSID}"
  ${EndIf}
  !if /FileExists "${HOME_IMAGE}/ZoLyricOCX.dll"
    UnRegDLL "$INSTDIR\ZoLyricOCX.dll"
  !endif

  ; What the programs wrote for themselves: logs, window layouts.
  RMDir /r /REBOOTOK "$INSTDIR\log"
  RMDir /r /REBOOTOK "$INSTDIR\config"
  !include "${LISTS}/uninstall.nsh"
  Delete /REBOOTOK "$INSTDIR\uninst.exe"

  DeleteRegKey HKLM "${PRODUCT_KEY}"
  ; Stays while it holds the user's lyrics and settings.
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.$(UnUserDataSection)" SecUserData
  RMDir /r /REBOOTOK "$INSTDIR"
SectionEnd

; Last: the entry goes when everything else has gone, so that whoever waits
; for a silent uninstall can watch for it.
Section "-un.Finish"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  !insertmacro UseProductRegView
  ReadRegStr $PlayerDir HKLM "${UNINSTALL_KEY}" "PlayerFolder"
  ${If} $PlayerDir == ""
    ; Nothing was put into a player's folder: point the plug-in's removal
    ; at a place that does not exist.
    StrCpy $PlayerDir "$INSTDIR\no-player"
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUserData}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(UnProgramText)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUserData} "$(UnUserDataText)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
