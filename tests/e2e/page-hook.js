// Put ahead of the page's scripts by browser.py. WebGL tells nobody of its errors: each draw and upload is followed by
// getError, whose codes (still handed to the game's getError), console errors and failed loads land in vesk.errors.
// vesk.inject(fault) draws what the comparison must refuse: "discs" (34-vertex fans), "rings" (66-vertex strips) or
// "token" (the first sprite after a ring) left out, or "text" black; "" all again. It resolves once drawn so.
"use strict";
(() => {
  const vesk = (window.vesk = { errors: [], fault: "" }), gl = WebGLRenderingContext.prototype, getError = gl.getError, codes = [];
  let glyphs = null, afterRing = false;
  gl.getError = function () { return codes.length ? codes.shift() : getError.call(this); };
  for (const name of ["drawArrays", "drawElements", "texImage2D"]) {
    const call = gl[name];
    gl[name] = function (...args) {
      const count = args[name === "drawArrays" ? 2 : 1], ring = afterRing, fault = vesk.fault;
      afterRing = count === 66;
      if (name === "texImage2D" && args[6] === this.LUMINANCE_ALPHA) glyphs ||= { gl: this, args, texels: args[8].slice(),
        texture: this.getParameter(this.TEXTURE_BINDING_2D) };
      else if ({ discs: count === 34, rings: count === 66, token: ring && count === 6 }[fault]) return;
      call.apply(this, args);
      const code = getError.call(this);
      if (code) codes.push(code), vesk.errors.push(`WebGL error 0x${code.toString(16)} after ${name}(${args.slice(0, 3)})`);
    };
  }
  vesk.inject = (fault) => {   // the glyphs' atlas (kept: the heap moves on) sent again, black or as it was
    const { gl, args, texels, texture } = glyphs, bound = gl.getParameter(gl.TEXTURE_BINDING_2D);
    vesk.fault = fault;
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texImage2D(...args.slice(0, 8), texels.map((v, i) => (fault === "text" && i % 2 === 0 ? 0 : v)));   // luminance, alpha
    gl.bindTexture(gl.TEXTURE_2D, bound);
    return new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(() => requestAnimationFrame(drawn))));
  };
  const error = console.error;
  console.error = (...args) => (vesk.errors.push(args.join(" ")), error.apply(console, args));
  addEventListener("error", (e) => vesk.errors.push(e.message || `could not load ${e.target.src || e.target.href}`), true);
})();
