"""The pictures of the installation, one module per family."""
