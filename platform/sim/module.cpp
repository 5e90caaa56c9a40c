// Load handling of the driver module on the simulation. The dynamic loader sends a shared object
// no thread notifications, and loading does no work of its own, so there is nothing to do here.
