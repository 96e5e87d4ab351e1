// Replaced by the Qt sources of this layer.
