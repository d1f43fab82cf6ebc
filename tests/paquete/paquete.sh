#!/bin/sh
# The Debian package for its tests. "desempaqueta BUILD DEB RAIZ" builds it
# with CPack and unpacks it into the scratch root RAIZ, as apt would lay it
# out under /; "revisa DEB NOTAS" checks what it asks apt for, that the
# developer notes NOTAS name it, and runs lintian.
set -eu
case $1 in
desempaqueta)
  cmake --build "$2" --target package
  rm -rf "$4"
  dpkg-deb -x "$3" "$4"
  ;;
revisa)
  depende=$(dpkg-deb -f "$2" Depends)
  echo "Depends: $depende"
  case $depende in *liballegro4*) ;; *) echo "no depende del Allegro 4"; exit 1 ;; esac
  case $depende in *-dev*) echo "depende de un paquete de desarrollo"; exit 1 ;; esac
  case $depende in *libpng16*) ;; *) echo "no depende de libpng, que escribe los PNG"; exit 1 ;; esac
  case $depende in *loadpng*) echo "depende de loadpng, que solo usa la construccion"; exit 1 ;; esac
  if dpkg-deb --ctrl-tarfile "$2" | tar -t | grep -Eq 'preinst|postinst|prerm|postrm'; then
    echo "lleva guiones de mantenimiento"; exit 1
  fi
  # The developer notes' dependency list names every package apt is asked for.
  for paquete in $(echo "$depende" | tr ',|' '\n\n' | sed 's/(.*//'); do
    grep -qF "\`$paquete\`" "$3" || { echo "$3 no nombra la dependencia $paquete"; exit 1; }
  done
  lintian --fail-on error --tag-display-limit 0 "$2"
  ;;
esac
