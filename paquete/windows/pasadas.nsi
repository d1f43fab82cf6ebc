; The Spanish installer of Pasadas for 64-bit Windows, made by
; tools/windows/empaqueta.sh, which gives:
;   VERSION   the package's version (paquete/changelog)
;   ORIGEN    the folder with everything installed, as the zip holds it
;   LISTAS    the folder of archivos.nsh and borrados.nsh: the files to put
;             in place and to remove, written from ORIGEN
;   SALIDA    the installer's file
; The uninstaller removes what was installed, file by file, and never the
; user's working folder Documentos\Pasadas (made by pasadas-inicio).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define CLAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pasadas"

Name "Pasadas ${VERSION}"
OutFile "${SALIDA}"
InstallDir "$PROGRAMFILES64\Pasadas"
InstallDirRegKey HKLM "${CLAVE_DESINSTALAR}" "InstallLocation"
BrandingText "Pasadas ${VERSION}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\pasadas-inicio.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir Pasadas"
!insertmacro MUI_PAGE_LICENSE "${ORIGEN}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "0.0.0.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "Pasadas"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalador de Pasadas"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "Pasadas maintainers"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Pasadas necesita Windows de 64 bits."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Pasadas"
  SetShellVarContext all
  !include "${LISTAS}/archivos.nsh"
  WriteUninstaller "$INSTDIR\desinstalar.exe"

  ; The entries start pasadas-inicio, which opens the window or a console in
  ; the user's Documentos\Pasadas.
  CreateDirectory "$SMPROGRAMS\Pasadas"
  CreateShortcut "$SMPROGRAMS\Pasadas\Pasadas.lnk" "$INSTDIR\pasadas-inicio.exe" "" "$INSTDIR\pasadas.exe" 0
  CreateShortcut "$SMPROGRAMS\Pasadas\Consola de Pasadas (pasadas-informe).lnk" \
                 "$INSTDIR\pasadas-inicio.exe" "--consola" "$SYSDIR\cmd.exe" 0
  CreateShortcut "$SMPROGRAMS\Pasadas\Guía de uso.lnk" "$INSTDIR\doc\guia.html"
  CreateShortcut "$SMPROGRAMS\Pasadas\Desinstalar Pasadas.lnk" "$INSTDIR\desinstalar.exe"

  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayName" "Pasadas"
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "Publisher" "Pasadas maintainers"
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\pasadas.exe"
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
  WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
  WriteRegDWORD HKLM "${CLAVE_DESINSTALAR}" "NoModify" 1
  WriteRegDWORD HKLM "${CLAVE_DESINSTALAR}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Pasadas\Pasadas.lnk"
  Delete "$SMPROGRAMS\Pasadas\Consola de Pasadas (pasadas-informe).lnk"
  Delete "$SMPROGRAMS\Pasadas\Guía de uso.lnk"
  Delete "$SMPROGRAMS\Pasadas\Desinstalar Pasadas.lnk"
  RMDir "$SMPROGRAMS\Pasadas"
  ; Only the files installed, and the folders only once empty: whatever the
  ; user left in the program's folder stays.
  !include "${LISTAS}/borrados.nsh"
  Delete "$INSTDIR\desinstalar.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${CLAVE_DESINSTALAR}"
SectionEnd
