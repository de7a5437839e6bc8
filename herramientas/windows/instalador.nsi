; Instalador de Varek-9 para Windows, en español. Lo arma herramientas/windows/instalador.sh:
; makensis -INPUTCHARSET UTF8 -DVERSION=... -DORIGEN=carpeta -DSALIDA=instalador.exe
Unicode true
; Un instalador de 64 bits: el de 32 no corre en un Wine solo de 64.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCTO "Varek-9"
!define CLAVE "Varek9"
!define CLAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\${CLAVE}"
!define TIPO "Varek9.Proyecto"

; Para todos (Archivos de programa, con permisos de administrador) o solo para el
; usuario (sin ellos); /AllUsers o /CurrentUser en la línea de órdenes.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCTO}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${CLAVE}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "Carpeta"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${CLAVE}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "Carpeta"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

Name "${PRODUCTO} ${VERSION}"
OutFile "${SALIDA}"
BrandingText "${PRODUCTO} ${VERSION}"
!define MUI_ICON "${ORIGEN}\varek9.ico"
!define MUI_UNICON "${ORIGEN}\varek9.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${ORIGEN}\COPYING.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\varek9.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir Varek-9"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "${PRODUCTO}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalador de ${PRODUCTO}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "GPL-3.0-or-later"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Lo que se instala es justo lo que el desinstalador quita (la lista, abajo, es la misma).
!macro Archivos ORDEN
  ${ORDEN} "varek9.exe"
  ${ORDEN} "varek9-cli.exe"
  ${ORDEN} "Clima.exe"
  ${ORDEN} "Transito.exe"
  ${ORDEN} "Mr.exe"
  ${ORDEN} "Drenaje.exe"
  ${ORDEN} "varek9.ico"
  ${ORDEN} "qt.conf"
  ${ORDEN} "COPYING.txt"
!macroend
!macro Poner ARCHIVO
  File "${ORIGEN}\${ARCHIVO}"
!macroend
!macro Quitar ARCHIVO
  Delete "$INSTDIR\${ARCHIVO}"
!macroend
!define Poner "!insertmacro Poner"
!define Quitar "!insertmacro Quitar"

Section "Varek-9 (necesario)" SecPrograma
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro Archivos "${Poner}"
  SetOutPath "$INSTDIR\translations"
  File "${ORIGEN}\translations\qtbase_es.qm"
  SetOutPath "$INSTDIR\ejemplos"
  File "${ORIGEN}\ejemplos\Ejemplo.vk9"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Desinstalar.exe"

  ; Menú Inicio: el programa y sus cuatro programas complementarios.
  CreateDirectory "$SMPROGRAMS\${PRODUCTO}"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Varek-9.lnk" "$INSTDIR\varek9.exe" "" "$INSTDIR\varek9.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Clasificación del Clima.lnk" "$INSTDIR\Clima.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Tránsito de Diseño (W18).lnk" "$INSTDIR\Transito.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\CBR de Diseño y Módulo Resiliente.lnk" "$INSTDIR\Mr.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Coeficiente de Drenaje (m).lnk" "$INSTDIR\Drenaje.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Proyecto de ejemplo.lnk" "$INSTDIR\varek9.exe" \
    '"$INSTDIR\ejemplos\Ejemplo.vk9"' "$INSTDIR\varek9.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCTO}\Desinstalar Varek-9.lnk" "$INSTDIR\Desinstalar.exe"

  ; Los proyectos ".vk9": su icono y "Abrir con Varek-9".
  WriteRegStr SHCTX "Software\Classes\.vk9" "" "${TIPO}"
  WriteRegStr SHCTX "Software\Classes\${TIPO}" "" "Proyecto de Varek-9"
  WriteRegStr SHCTX "Software\Classes\${TIPO}\DefaultIcon" "" '"$INSTDIR\varek9.ico",0'
  WriteRegStr SHCTX "Software\Classes\${TIPO}\shell" "" "open"
  WriteRegStr SHCTX "Software\Classes\${TIPO}\shell\open" "" "Abrir con Varek-9"
  WriteRegStr SHCTX "Software\Classes\${TIPO}\shell\open\command" "" '"$INSTDIR\varek9.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; Programas y características: versión, tamaño y la desinstalación.
  WriteRegStr SHCTX "Software\${CLAVE}" "Carpeta" "$INSTDIR"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "DisplayName" "${PRODUCTO}"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\varek9.ico"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "Publisher" "Varek-9"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\Desinstalar.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\Desinstalar.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${CLAVE_DESINSTALAR}" "NoModify" 1
  WriteRegDWORD SHCTX "${CLAVE_DESINSTALAR}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${CLAVE_DESINSTALAR}" "EstimatedSize" "$0"
SectionEnd

Section /o "Acceso directo en el escritorio" SecEscritorio
  CreateShortcut "$DESKTOP\Varek-9.lnk" "$INSTDIR\varek9.exe" "" "$INSTDIR\varek9.ico"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograma} "El programa, sus cuatro programas complementarios, la orden varek9-cli, el proyecto de ejemplo y los diálogos de Qt en español."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecEscritorio} "Un acceso directo a Varek-9 en el escritorio."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Quita lo instalado y nada más: los proyectos del usuario, aun en estas carpetas, quedan.
Section "Uninstall"
  !insertmacro Archivos "${Quitar}"
  Delete "$INSTDIR\translations\qtbase_es.qm"
  RMDir "$INSTDIR\translations"
  Delete "$INSTDIR\ejemplos\Ejemplo.vk9"
  RMDir "$INSTDIR\ejemplos"
  Delete "$INSTDIR\Desinstalar.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCTO}\Varek-9.lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Clasificación del Clima.lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Tránsito de Diseño (W18).lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\CBR de Diseño y Módulo Resiliente.lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Coeficiente de Drenaje (m).lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Proyecto de ejemplo.lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Desinstalar Varek-9.lnk"
  RMDir "$SMPROGRAMS\${PRODUCTO}"
  Delete "$DESKTOP\Varek-9.lnk"

  ; El tipo de archivo, solo si sigue siendo el nuestro.
  ReadRegStr $0 SHCTX "Software\Classes\.vk9" ""
  StrCmp $0 "${TIPO}" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.vk9"
  DeleteRegKey SHCTX "Software\Classes\${TIPO}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${CLAVE_DESINSTALAR}"
  DeleteRegKey SHCTX "Software\${CLAVE}"
SectionEnd
