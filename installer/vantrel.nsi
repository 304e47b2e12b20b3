; Vantrel's installer, per user and without administrator rights.
;
; makensis -DVERSION=x.y.z.w [-DFILE_VERSION=x.y.z.w] -DPROGRAM=full\path\of\vantrel.exe -DOUTFILE=full\path\of\setup.exe vantrel.nsi
; (makensis works in the folder of this script: relative paths start there)
;
; Installs into the user's own programs folder, adds a Start-menu shortcut and an
; entry in the list of installed programs. Setup and uninstaller close a running
; Vantrel first (closing it hands every document it holds back to the desktop)
; and never replace or remove a file that is in use.
;
; The uninstaller asks whether to remove the settings too; run silently (/S) it
; keeps them, unless given /REMOVESETTINGS.

; 64-bit, as the program is (and as Wine runs it without 32-bit support).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not defined: pass -DVERSION=x.y.z.w"
!endif
; The version resource needs all four numbers.
!ifndef FILE_VERSION
  !define FILE_VERSION "${VERSION}"
!endif
!ifndef PROGRAM
  !error "PROGRAM is not defined: pass -DPROGRAM=path of vantrel.exe"
!endif
!ifndef OUTFILE
  !define OUTFILE "vantrel-${VERSION}-setup.exe"
!endif

!define APP "Vantrel"
!define PUBLISHER "the Vantrel author"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The value Vantrel writes when it starts with Windows (tray/StartWithWindows.cpp).
!define RUN_VALUE "Vantrel"
; Vantrel's settings (app/RegistryProfile.cpp): company key, then application key.
!define SETTINGS_PARENT "Software\Vantrel"
!define SETTINGS_KEY "Software\Vantrel\Vantrel"
; Every Vantrel frame has this window class; closing the main one ends the program.
!define FRAME_CLASS "VantrelFrame"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
${UnStrStr}

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2012 ${PUBLISHER}"

!define MUI_ICON "..\res\images\vantrel.ico"
!define MUI_UNICON "..\res\images\vantrel.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantrel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Closes every running Vantrel frame after asking, and waits until none is left;
; aborts when the user declines or Vantrel does not go. Silent runs close it
; without asking. Macro, as installer and uninstaller each need their own copy.
!macro CLOSE_RUNNING_VANTREL
  FindWindow $0 "${FRAME_CLASS}"
  ${If} $0 <> 0
    ${IfNot} ${Cmd} `MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Vantrel is running. It is closed to go on; the documents it holds stay open on the desktop." /SD IDOK IDOK`
      Abort
    ${EndIf}
    ; A frame that is waiting for a document to answer closes a little later,
    ; so keep asking for about ten seconds.
    StrCpy $1 0
    ${Do}
      FindWindow $0 "${FRAME_CLASS}"
      ${If} $0 = 0
        ${Break}
      ${EndIf}
      ${If} $1 >= 50
        MessageBox MB_OK|MB_ICONSTOP "Vantrel did not close. Close it yourself and try again." /SD IDOK
        Abort
      ${EndIf}
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
      Sleep 200
      IntOp $1 $1 + 1
    ${Loop}
  ${EndIf}
!macroend

; Aborts while FILE exists and cannot be opened for writing: some program uses it.
!macro REQUIRE_NOT_IN_USE FILE
  ${If} ${FileExists} "${FILE}"
    ${Do}
      ClearErrors
      FileOpen $2 "${FILE}" a
      ${IfNot} ${Errors}
        FileClose $2
        ${Break}
      ${EndIf}
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${FILE} is in use by another program. Close it and retry." /SD IDCANCEL IDRETRY`
        Abort
      ${EndIf}
    ${Loop}
  ${EndIf}
!macroend

Section "Vantrel"
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_VANTREL
  !insertmacro REQUIRE_NOT_IN_USE "$INSTDIR\vantrel.exe"
  !insertmacro REQUIRE_NOT_IN_USE "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=vantrel.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vantrel.exe" "" "$INSTDIR\vantrel.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantrel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_VANTREL
  !insertmacro REQUIRE_NOT_IN_USE "$INSTDIR\vantrel.exe"

  Delete "$INSTDIR\vantrel.exe"
  ${If} ${FileExists} "$INSTDIR\vantrel.exe"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\vantrel.exe could not be removed." /SD IDOK
    Abort
  ${EndIf}
  Delete "$SMPROGRAMS\${APP}.lnk"

  ; Start with Windows, when it starts this copy (a copy elsewhere keeps its own);
  ; the setting goes with it, so that a later install shows it off.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${UnStrStr} $1 $0 "$INSTDIR\vantrel.exe"
  ${If} $1 != ""
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKCU "${SETTINGS_KEY}\Settings" "StartOnBoot"
  ${EndIf}

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $1 "remove"
  ${ElseIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove Vantrel's settings too (frame places, look, tray and other choices)?" /SD IDNO IDYES`
    StrCpy $1 "remove"
  ${Else}
    StrCpy $1 "keep"
  ${EndIf}
  ${If} $1 == "remove"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; Last, so that whoever waits for the entry to go knows the rest is done.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
