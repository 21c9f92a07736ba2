function wavelet_demo (out_dir)
  % WAVELET_DEMO  Show the plug-ins at work on a synthetic image; writes PNG pictures.
  %
  %   wavelet_demo (OUT_DIR)
  %
  %   Makes a 256 x 256 test image, runs a 3-level analysis with the 8-tap
  %   Daubechies pair, saves a picture of the pyramid, rebuilds the image and
  %   prints the largest reconstruction error, and blurs the image circularly
  %   with cyclic_merge.  Nothing is downloaded.
  if (nargin < 1)
    out_dir = pwd ();
  end
  if (! exist (out_dir, "dir"))
    mkdir (out_dir);
  end

  x = test_image (256);
  levels = 3;
  [h0, h1, g0, g1] = wavelet_filters ("db4");

  y = wavelet_analysis (x, h0, h1, levels);
  file = fullfile (out_dir, "pyramid.png");
  imwrite ([scale01(x), pyramid_picture(y, levels)], file);
  printf ("pyramid of a %d-level analysis (image, then its bands): %s\n", levels, file);

  z = wavelet_synthesis (y, g0, g1, levels);
  printf ("largest reconstruction error: %.3g (image values in [0, 1])\n", max (abs (z(:) - x(:))));

  taps = exp (-((-4:4) .^ 2) / 4);
  taps = taps / sum (taps);
  blurred = cyclic_merge (x, taps, taps);
  % The circular convolution delays by (K - 1) / 2 samples; undo it for display.
  blurred = circshift (blurred, -[4 4]);
  file = fullfile (out_dir, "blur.png");
  imwrite ([x, blurred], file);
  printf ("circular blur with a 9-tap Gaussian (original, blurred): %s\n", file);
end

function x = test_image (n)
  % Shapes with sharp edges, a smooth gradient and fine stripes, in [0, 1].
  [c, r] = meshgrid (0:n-1, 0:n-1);
  x = 0.25 * c / (n - 1);
  x(hypot (r - 0.3 * n, c - 0.3 * n) < 0.18 * n) = 0.9;
  x(r > 0.55 * n & r < 0.85 * n & c > 0.15 * n & c < 0.45 * n) = 0.6;
  stripes = r > 0.55 * n & r < 0.9 * n & c > 0.55 * n & c < 0.9 * n;
  x(stripes) = 0.5 + 0.4 * sin (2 * pi * (r(stripes) + c(stripes)) / 10);
end

function p = pyramid_picture (y, levels)
  % Each band scaled on its own so that small details stay visible.
  p = zeros (size (y));
  [m, n] = size (y);
  for l = 1:levels
    h = m / 2^l;
    w = n / 2^l;
    p(h+1:2*h, 1:w) = scale01 (abs (y(h+1:2*h, 1:w)));
    p(1:h, w+1:2*w) = scale01 (abs (y(1:h, w+1:2*w)));
    p(h+1:2*h, w+1:2*w) = scale01 (abs (y(h+1:2*h, w+1:2*w)));
  end
  h = m / 2^levels;
  w = n / 2^levels;
  p(1:h, 1:w) = scale01 (y(1:h, 1:w));
end

function v = scale01 (v)
  span = max (v(:)) - min (v(:));
  if (span > 0)
    v = (v - min (v(:))) / span;
  else
    v = zeros (size (v));
  end
end
