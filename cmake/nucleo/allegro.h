// First on the core's include path (src/sample, src/analysis): the readers
// and the computations draw nothing and must build where no Allegro is, so
// a core file that includes the window's header stops the build here.
#error "the core (src/sample, src/analysis) includes no window header: draw in src/pantallas"
